#include "desktop/ProgramArguments.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/api/Utf.h"

namespace mirudex::desktop {

namespace {

// Qt's own options: those that take a value, and those that do not.
constexpr std::array<std::string_view, 11> kQtOptionsWithValue = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin",     "-display", "-style", "-stylesheet",
    "-session",  "-qwindowgeometry",    "-qwindowtitle",  "-qwindowicon"};
constexpr std::array<std::string_view, 4> kQtFlags = {"-reverse", "-widgetcount", "-nograb", "-dograb"};

bool IsOneOf(std::string_view arg, auto const& list) { return std::find(list.begin(), list.end(), arg) != list.end(); }

bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); });
}

}  // namespace

const char* ProgramUsage()
{
    return "usage: mirudex [--workdir DIR] [--show | --search TEXT | TEXT...]\n"
           "  TEXT, --search TEXT  raise Mirudex and search TEXT, as if typed and Enter pressed\n"
           "                       (an empty TEXT only raises it, as --show does)\n"
           "  --show               raise Mirudex without searching\n"
           "  --workdir DIR        work in DIR (default: $MIRUDEX_HOME, the current folder when it\n"
           "                       holds Options.mxreg, else ${XDG_DATA_HOME:-~/.local/share}/mirudex)\n"
           "  --                   what follows is TEXT, even when it begins with a dash\n"
           "  -h, --help           print this text\n"
           "  --version            print the version\n"
           "When Mirudex is running already, the request goes to it and this start ends (status 0).\n"
           "Exit status: 0 done, 1 the running Mirudex did not answer, 2 usage or set-up error.\n";
}

std::optional<ProgramArguments> ParseProgramArguments(const std::vector<std::string>& argv, std::string& error)
{
    ProgramArguments parsed;
    parsed.qtArguments.push_back(argv.empty() ? std::string("mirudex") : argv[0]);
    std::vector<std::string> words;
    std::optional<std::string> search;
    bool show = false;
    bool options = true;
    for (size_t i = 1; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (!options || arg.empty() || arg[0] != '-' || arg == "-") {
            words.push_back(arg);
            continue;
        }
        auto value = [&](std::string_view name) -> std::optional<std::string> {
            const std::string prefix = std::string(name) + "=";
            if (arg.rfind(prefix, 0) == 0)
                return arg.substr(prefix.size());
            if (arg == name && i + 1 < argv.size())
                return argv[++i];
            return std::nullopt;
        };
        auto named = [&](std::string_view name) { return arg == name || arg.rfind(std::string(name) + "=", 0) == 0; };
        if (arg == "--") {
            options = false;
        } else if (arg == "-h" || arg == "--help") {
            parsed.action = ProgramArguments::Action::Help;
        } else if (arg == "--version") {
            parsed.action = ProgramArguments::Action::Version;
        } else if (arg == "--show") {
            show = true;
        } else if (named("--workdir")) {
            parsed.workdir = value("--workdir");
            if (!parsed.workdir || parsed.workdir->empty()) {
                error = "--workdir needs a folder";
                return std::nullopt;
            }
        } else if (named("--search")) {
            if (search) {
                error = "--search is given twice";
                return std::nullopt;
            }
            search = value("--search");
            if (!search) {
                error = "--search needs a text";
                return std::nullopt;
            }
        } else if (IsOneOf(arg, kQtOptionsWithValue) && i + 1 < argv.size()) {
            parsed.qtArguments.push_back(arg);
            parsed.qtArguments.push_back(argv[++i]);
        } else if (IsOneOf(arg, kQtFlags)) {
            parsed.qtArguments.push_back(arg);
        } else {
            error = "unknown option: " + arg;
            return std::nullopt;
        }
    }
    if (search && !words.empty()) {
        error = "give the text to search once: with --search or after the options";
        return std::nullopt;
    }
    if (!words.empty()) {
        search = std::string();
        for (size_t i = 0; i < words.size(); ++i)
            *search += (i ? " " : "") + words[i];
    }
    // An empty text (nothing was highlighted, say) only raises the window.
    if (search && IsBlank(*search)) {
        search.reset();
        show = true;
    }
    Utf8Fault fault;
    if (search && !DecodeUtf8(*search, &fault)) {
        error = "the text to search is not valid UTF-8 (at byte " + std::to_string(fault.offset + 1) + ")";
        return std::nullopt;
    }
    if (search)
        parsed.request = InstanceRequest{InstanceRequest::Kind::Search, *search};
    else if (show)
        parsed.request = InstanceRequest{InstanceRequest::Kind::Show, {}};
    return parsed;
}

}  // namespace mirudex::desktop
