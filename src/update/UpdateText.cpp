#include "update/UpdateText.h"

#include <cctype>

#include "core/Ascii.h"

namespace mirudex::update {

namespace {

struct ColourEntry {
    bool set = false;
    std::uint8_t red = 0, green = 0, blue = 0;
};

struct GroupState {
    RichFormat format;
    bool colourTable = false;
    bool skip = false;  // a destination whose text is not shown
};

class RtfReader {
public:
    explicit RtfReader(std::string_view rtf) : rtf_(rtf) {}

    std::vector<RichPiece> Read()
    {
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_++];
            switch (c) {
            case '{': stack_.push_back(state_); break;
            case '}':
                if (!stack_.empty()) {
                    state_ = stack_.back();
                    stack_.pop_back();
                }
                break;
            case '\\': ControlSymbolOrWord(); break;
            case '\r':
            case '\n': break;
            case ';':
                if (state_.colourTable) {
                    colours_.push_back(pending_);
                    pending_ = {};
                } else {
                    AddText(c);
                }
                break;
            default: AddText(c); break;
            }
        }
        return std::move(pieces_);
    }

private:
    void AddText(char c)
    {
        if (state_.colourTable || state_.skip)
            return;
        if (pieces_.empty() || pieces_.back().kind != RichPiece::Kind::Text ||
            !(pieces_.back().format == state_.format))
            pieces_.push_back({RichPiece::Kind::Text, {}, state_.format});
        pieces_.back().text.push_back(c);
    }

    void AddBreak()
    {
        if (!state_.colourTable && !state_.skip)
            pieces_.push_back({RichPiece::Kind::Break, {}, state_.format});
    }

    void ControlSymbolOrWord()
    {
        if (pos_ >= rtf_.size())
            return;
        const char c = rtf_[pos_];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++pos_;
            if (c == '\\' || c == '{' || c == '}') {
                AddText(c);
            } else if (c == '\'' && pos_ + 1 < rtf_.size() && HexDigitValue(rtf_[pos_]) >= 0 &&
                       HexDigitValue(rtf_[pos_ + 1]) >= 0) {
                AddText(static_cast<char>(HexDigitValue(rtf_[pos_]) * 16 + HexDigitValue(rtf_[pos_ + 1])));
                pos_ += 2;
            } else if (c == '~') {
                AddText(' ');
            } else if (c == '*') {
                state_.skip = true;
            }
            return;
        }
        std::string word;
        while (pos_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[pos_])))
            word.push_back(rtf_[pos_++]);
        bool hasParam = false;
        bool negative = false;
        long param = 0;
        if (pos_ < rtf_.size() && rtf_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        while (pos_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[pos_]))) {
            hasParam = true;
            if (param < 100000000)
                param = param * 10 + (rtf_[pos_] - '0');
            ++pos_;
        }
        if (negative)
            param = -param;
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ')
            ++pos_;  // the delimiter belongs to the control word
        Apply(word, hasParam, static_cast<int>(param));
    }

    void Apply(const std::string& word, bool hasParam, int param)
    {
        RichFormat& f = state_.format;
        if (word == "b")
            f.bold = !hasParam || param != 0;
        else if (word == "i")
            f.italic = !hasParam || param != 0;
        else if (word == "fs")
            f.halfPoints = hasParam && param > 0 && param < 4000 ? param : 0;
        else if (word == "li")
            f.leftIndentTwips = hasParam && param > 0 && param < 100000 ? param : 0;
        else if (word == "cf")
            SetColour(hasParam ? param : 0);
        else if (word == "plain")
            f = RichFormat{.leftIndentTwips = f.leftIndentTwips};
        else if (word == "pard")
            f.leftIndentTwips = 0;
        else if (word == "line" || word == "par")
            AddBreak();
        else if (word == "tab")
            AddText('\t');
        else if (word == "colortbl")
            state_.colourTable = true;
        else if (word == "red")
            pending_.red = static_cast<std::uint8_t>(param), pending_.set = true;
        else if (word == "green")
            pending_.green = static_cast<std::uint8_t>(param), pending_.set = true;
        else if (word == "blue")
            pending_.blue = static_cast<std::uint8_t>(param), pending_.set = true;
        else if (word == "fonttbl" || word == "stylesheet" || word == "info" || word == "pict")
            state_.skip = true;
    }

    void SetColour(int index)
    {
        RichFormat& f = state_.format;
        f.hasColour = false;
        if (index > 0 && static_cast<size_t>(index) < colours_.size() && colours_[index].set) {
            f.hasColour = true;
            f.red = colours_[index].red;
            f.green = colours_[index].green;
            f.blue = colours_[index].blue;
        }
    }

    std::string_view rtf_;
    size_t pos_ = 0;
    GroupState state_;
    std::vector<GroupState> stack_;
    std::vector<ColourEntry> colours_;
    ColourEntry pending_;
    std::vector<RichPiece> pieces_;
};

}  // namespace

std::string UpdateBlockRtf(const UpdateRecord& record)
{
    std::string block = "{\\rtf{\\colortbl;\\red128\\green128\\blue128;}{\\i\\fs26 " + record.dateText +
                        "}{\\b\\fs30 " + record.newsText +
                        "}{\\fs20\\cf1\\i This applies to version: " + record.appliesToText + "}{\\li360\\fs20 " +
                        record.infoText + "}\\par{\\b\\fs22 Files}\\par{\\li360\\fs20\\cf1 " + record.fileText + "}}";
    if (block.size() > kMaxBlockBytes)
        block.resize(kMaxBlockBytes);
    return block;
}

std::string_view UpdateSeparatorRtf()
{
    return "{\\rtf{\\colortbl;\\red64\\green64\\blue255;}{\\par\\par\\cf1 "
           "=======================================\\par\\par\\par}";
}

std::vector<RichPiece> ParseRichText(std::string_view rtf) { return RtfReader(rtf).Read(); }

}  // namespace mirudex::update
