#include "tray_script.h"

#include <cstdlib>
#include <iterator>

const char kTrayUserUsage[] =
    "usage: tray_user [--desktop NAME] [--report FILE] [--timeout MS] [--caption TEXT] STEP...\n"
    "Acts in the desktop NAME (a Wine desktop: explorer /desktop=NAME) when given.\n"
    "steps:\n"
    "  find                  wait until the window exists and its program waits for input\n"
    "  post MESSAGE...       tray callback with lbuttondown, lbuttonup, lbuttondblclk,\n"
    "                        rbuttondown, rbuttonup, rbuttondblclk or mousemove\n"
    "  lclick | lclick-double | rclick | rclick-double\n"
    "                        the messages of that click\n"
    "  command ID            WM_COMMAND with the menu command ID\n"
    "  key return|space|escape\n"
    "  sleep MS              pause\n"
    "  hidden                check that the window is hidden and not on the task bar\n"
    "  wait-gone             wait until the window's process has ended\n"
    "  run PROGRAM           start PROGRAM (a Windows path) and wait until it ends\n"
    "The timeout (default 10000 ms) bounds each wait.\n";

namespace {

struct NamedValue {
    const char* name;
    UINT value;
};

constexpr NamedValue kMouseMessages[] = {
    {"mousemove", WM_MOUSEMOVE},       {"lbuttondown", WM_LBUTTONDOWN}, {"lbuttonup", WM_LBUTTONUP},
    {"lbuttondblclk", WM_LBUTTONDBLCLK}, {"rbuttondown", WM_RBUTTONDOWN}, {"rbuttonup", WM_RBUTTONUP},
    {"rbuttondblclk", WM_RBUTTONDBLCLK},
};

constexpr NamedValue kKeys[] = {{"return", VK_RETURN}, {"space", VK_SPACE}, {"escape", VK_ESCAPE}};

struct Gesture {
    const char* name;
    std::vector<const char*> messages;
};

// What the notification area sends for each gesture; a double-click's second
// press arrives as the double-click message.
const Gesture kGestures[] = {
    {"lclick", {"lbuttondown", "lbuttonup"}},
    {"lclick-double", {"lbuttondown", "lbuttonup", "lbuttondblclk", "lbuttonup"}},
    {"rclick", {"rbuttondown", "rbuttonup"}},
    {"rclick-double", {"rbuttondown", "rbuttonup", "rbuttondblclk", "rbuttonup"}},
};

const NamedValue* FindNamed(const NamedValue* begin, const NamedValue* end, const std::string& name) {
    for (const NamedValue* entry = begin; entry != end; ++entry) {
        if (name == entry->name) return entry;
    }
    return nullptr;
}

const NamedValue* FindMouseMessage(const std::string& name) {
    return FindNamed(std::begin(kMouseMessages), std::end(kMouseMessages), name);
}

// Decimal, or hexadecimal with 0x; the whole word must be the number.
bool ParseNumber(const std::string& text, UINT& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    char* end = nullptr;
    unsigned long parsed = std::strtoul(text.c_str(), &end, 0);
    if (*end != '\0' || parsed > 0xFFFFFFFFul) return false;
    value = static_cast<UINT>(parsed);
    return true;
}

void AddStep(TrayScript& script, StepKind kind, const std::string& word, UINT value = 0,
             const std::string& path = {}) {
    script.steps.push_back({kind, word, value, path});
}

void AddPost(TrayScript& script, const NamedValue& message) {
    AddStep(script, StepKind::Post, message.name, message.value);
}

}  // namespace

bool ParseTrayScript(const std::vector<std::string>& args, TrayScript& script, std::string& error) {
    auto next = [&](size_t& i, const char* what) -> const std::string* {
        if (i + 1 >= args.size()) {
            error = args[i] + " needs " + what;
            return nullptr;
        }
        return &args[++i];
    };

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        UINT number = 0;
        if (word == "--report" || word == "--caption" || word == "--desktop") {
            const std::string* value = next(i, "a value");
            if (!value) return false;
            (word == "--report" ? script.reportPath : word == "--caption" ? script.caption : script.desktop) = *value;
        } else if (word == "--timeout") {
            const std::string* value = next(i, "milliseconds");
            if (!value) return false;
            if (!ParseNumber(*value, number)) {
                error = "--timeout: not a number: " + *value;
                return false;
            }
            script.timeoutMs = number;
        } else if (word == "find") {
            AddStep(script, StepKind::Find, word);
        } else if (word == "hidden") {
            AddStep(script, StepKind::CheckHidden, word);
        } else if (word == "wait-gone") {
            AddStep(script, StepKind::WaitGone, word);
        } else if (word == "post") {
            size_t posted = 0;
            for (; i + 1 < args.size() && FindMouseMessage(args[i + 1]); ++posted) {
                AddPost(script, *FindMouseMessage(args[++i]));
            }
            if (posted == 0) {
                error = i + 1 < args.size() ? "post: unknown mouse message: " + args[i + 1] : "post needs messages";
                return false;
            }
        } else if (word == "command" || word == "sleep") {
            const std::string* value = next(i, word == "command" ? "a command id" : "milliseconds");
            if (!value) return false;
            if (!ParseNumber(*value, number) || (word == "command" && number > 0xFFFF)) {
                error = word + ": not a valid number: " + *value;
                return false;
            }
            AddStep(script, word == "command" ? StepKind::Command : StepKind::Sleep, word, number);
        } else if (word == "run") {
            const std::string* value = next(i, "a program");
            if (!value) return false;
            AddStep(script, StepKind::Run, word, 0, *value);
        } else if (word == "key") {
            const std::string* value = next(i, "a key name");
            if (!value) return false;
            const NamedValue* key = FindNamed(std::begin(kKeys), std::end(kKeys), *value);
            if (!key) {
                error = "key: unknown key: " + *value;
                return false;
            }
            AddStep(script, StepKind::Key, key->name, key->value);
        } else {
            const Gesture* gesture = nullptr;
            for (const Gesture& candidate : kGestures) {
                if (word == candidate.name) gesture = &candidate;
            }
            if (!gesture) {
                error = "unknown step: " + word;
                return false;
            }
            for (const char* message : gesture->messages) AddPost(script, *FindMouseMessage(message));
        }
    }
    if (script.steps.empty()) {
        error = "no steps given";
        return false;
    }
    return true;
}
