#include "platform/recording/RecordingPlatform.h"

namespace mirudex::platform {

RecordingPlatform::RecordingPlatform()
{
    previous_ = &Get();
    Set(this);
}

RecordingPlatform::~RecordingPlatform() { Set(previous_); }

Answer RecordingPlatform::MessageBox(std::u16string_view text, std::u16string_view caption, Buttons buttons,
                                     Owner owner)
{
    std::lock_guard lock(mutex_);
    boxes_.push_back({std::u16string(text), std::u16string(caption), buttons, owner});
    if (!script_.empty()) {
        Answer a = script_.front();
        script_.pop_front();
        return a;
    }
    return buttons == Buttons::YesNo ? defaultAnswer_ : Answer::Ok;
}

void RecordingPlatform::SetStatusText(int part, std::u16string_view text)
{
    std::lock_guard lock(mutex_);
    status_.push_back({part, std::u16string(text)});
}

void RecordingPlatform::SetClipboardText(std::u16string_view text)
{
    std::lock_guard lock(mutex_);
    clipText_ = std::u16string(text);
    clipHtml_.reset();
    clipBytes_.reset();
    clipEncoding_.clear();
}

void RecordingPlatform::SetClipboardBytes(std::string_view bytes, std::string_view encoding)
{
    std::lock_guard lock(mutex_);
    clipBytes_ = std::string(bytes);
    clipEncoding_ = std::string(encoding);
    clipText_.reset();
    clipHtml_.reset();
}

std::optional<std::u16string> RecordingPlatform::ClipboardText()
{
    std::lock_guard lock(mutex_);
    return clipText_;
}

void RecordingPlatform::SetClipboardTextAndHtml(std::u16string_view text, std::u16string_view html)
{
    std::lock_guard lock(mutex_);
    clipText_ = std::u16string(text);
    clipHtml_ = std::u16string(html);
    clipBytes_.reset();
    clipEncoding_.clear();
}

std::optional<std::u16string> RecordingPlatform::ClipboardHtml() const
{
    std::lock_guard lock(mutex_);
    return clipHtml_;
}

std::optional<std::string> RecordingPlatform::ClipboardBytes(std::string_view)
{
    std::lock_guard lock(mutex_);
    return clipBytes_;
}

namespace {
template <typename T>
std::optional<T> Next(std::deque<std::optional<T>>& script)
{
    if (script.empty())
        return std::nullopt;
    std::optional<T> answer = std::move(script.front());
    script.pop_front();
    return answer;
}
}  // namespace

std::optional<std::string> RecordingPlatform::ChooseOpenFile(std::u16string_view title)
{
    std::lock_guard lock(mutex_);
    ChooserCall call;
    call.kind = ChooserCall::Kind::OpenFile;
    call.title = std::u16string(title);
    choosers_.push_back(std::move(call));
    return Next(files_);
}

std::optional<std::string> RecordingPlatform::ChooseSaveFile(std::u16string_view title)
{
    std::lock_guard lock(mutex_);
    ChooserCall call;
    call.kind = ChooserCall::Kind::SaveFile;
    call.title = std::u16string(title);
    choosers_.push_back(std::move(call));
    return Next(files_);
}

void RecordingPlatform::WatchClipboard(std::function<void()> changed)
{
    std::lock_guard lock(mutex_);
    clipboardWatcher_ = std::move(changed);
}

void RecordingPlatform::ClipboardChanged()
{
    std::function<void()> watcher;
    {
        std::lock_guard lock(mutex_);
        watcher = clipboardWatcher_;
    }
    if (watcher)
        watcher();
}

bool RecordingPlatform::WatchingClipboard() const
{
    std::lock_guard lock(mutex_);
    return static_cast<bool>(clipboardWatcher_);
}

void RecordingPlatform::WatchSelection(std::function<void()> changed)
{
    std::lock_guard lock(mutex_);
    selectionWatcher_ = std::move(changed);
}

std::optional<std::u16string> RecordingPlatform::SelectionText()
{
    std::lock_guard lock(mutex_);
    return selection_;
}

void RecordingPlatform::SetSelection(std::optional<std::u16string> text)
{
    std::lock_guard lock(mutex_);
    selection_ = std::move(text);
}

void RecordingPlatform::SelectionChanged()
{
    std::function<void()> watcher;
    {
        std::lock_guard lock(mutex_);
        watcher = selectionWatcher_;
    }
    if (watcher)
        watcher();
}

bool RecordingPlatform::WatchingSelection() const
{
    std::lock_guard lock(mutex_);
    return static_cast<bool>(selectionWatcher_);
}

std::optional<FontChoice> RecordingPlatform::ChooseFont(const FontChoice& initial, int minPoints, int maxPoints)
{
    std::lock_guard lock(mutex_);
    ChooserCall call;
    call.kind = ChooserCall::Kind::Font;
    call.font = initial;
    call.minPoints = minPoints;
    call.maxPoints = maxPoints;
    choosers_.push_back(std::move(call));
    return Next(fonts_);
}

bool RecordingPlatform::HasFontFor(std::u16string_view text)
{
    std::lock_guard lock(mutex_);
    fontChecks_.emplace_back(text);
    return hasFonts_;
}

void RecordingPlatform::SetHasFonts(bool has)
{
    std::lock_guard lock(mutex_);
    hasFonts_ = has;
}

std::vector<std::u16string> RecordingPlatform::FontChecks() const
{
    std::lock_guard lock(mutex_);
    return fontChecks_;
}

std::optional<int> RecordingPlatform::ChooseColor(int initial)
{
    std::lock_guard lock(mutex_);
    ChooserCall call;
    call.kind = ChooserCall::Kind::Color;
    call.color = initial;
    choosers_.push_back(std::move(call));
    return Next(colors_);
}

void RecordingPlatform::ScriptFiles(std::initializer_list<std::optional<std::string>> answers)
{
    std::lock_guard lock(mutex_);
    files_.insert(files_.end(), answers.begin(), answers.end());
}

void RecordingPlatform::ScriptFonts(std::initializer_list<std::optional<FontChoice>> answers)
{
    std::lock_guard lock(mutex_);
    fonts_.insert(fonts_.end(), answers.begin(), answers.end());
}

void RecordingPlatform::ScriptColors(std::initializer_list<std::optional<int>> answers)
{
    std::lock_guard lock(mutex_);
    colors_.insert(colors_.end(), answers.begin(), answers.end());
}

std::vector<ChooserCall> RecordingPlatform::Choosers() const
{
    std::lock_guard lock(mutex_);
    return choosers_;
}

void RecordingPlatform::Exit(int status) { throw FatalExit{status}; }

void RecordingPlatform::ScriptAnswers(std::initializer_list<Answer> answers)
{
    std::lock_guard lock(mutex_);
    script_.insert(script_.end(), answers.begin(), answers.end());
}

void RecordingPlatform::SetDefaultAnswer(Answer answer)
{
    std::lock_guard lock(mutex_);
    defaultAnswer_ = answer;
}

std::vector<MessageBoxCall> RecordingPlatform::MessageBoxes() const
{
    std::lock_guard lock(mutex_);
    return boxes_;
}

std::vector<StatusCall> RecordingPlatform::StatusTexts() const
{
    std::lock_guard lock(mutex_);
    return status_;
}

std::u16string RecordingPlatform::LastStatus(int part) const
{
    std::lock_guard lock(mutex_);
    for (auto it = status_.rbegin(); it != status_.rend(); ++it)
        if (it->part == part)
            return it->text;
    return {};
}

std::string RecordingPlatform::ClipboardEncoding() const
{
    std::lock_guard lock(mutex_);
    return clipEncoding_;
}

void RecordingPlatform::Clear()
{
    std::lock_guard lock(mutex_);
    boxes_.clear();
    status_.clear();
    script_.clear();
    files_.clear();
    fonts_.clear();
    colors_.clear();
    choosers_.clear();
}

}  // namespace mirudex::platform
