// The stand-in's ini files: any text parsed and looked up, then one key set,
// one key deleted and one section deleted. Every key listed has a value; a
// value set reads back as written, also once the text is parsed again; and no
// edit changes the value of any other key.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "profile/profile_document.h"

namespace {

using Values = std::map<std::pair<std::string, std::string>, std::string>;

bool IsBlank(char c) { return std::string_view(" \t\v\f\r\n\x1a").find(c) != std::string_view::npos; }

std::string Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::pair<std::string, std::string> Name(std::string_view section, std::string_view key) {
    return {Lower(Trimmed(section)), Lower(Trimmed(key))};
}

// Every key of every section, by lower-case names; each listed key must have a value.
Values AllValues(const ProfileDocument& document) {
    Values values;
    for (const std::string_view section : document.SectionNames())
        for (const std::string_view key : document.KeyNames(section)) {
            const auto value = document.Value(section, key);
            if (!value) std::abort();
            values.emplace(Name(section, key), *value);
        }
    return values;
}

// The values of `before` other than those `edited` names are all still there.
void CheckOthersKept(const Values& before, const ProfileDocument& after,
                     bool (*edited)(const std::pair<std::string, std::string>&, const std::pair<std::string, std::string>&),
                     const std::pair<std::string, std::string>& target) {
    for (const auto& [name, value] : before) {
        if (edited(name, target)) continue;
        const auto now = after.Value(name.first, name.second);
        if (!now || *now != value) std::abort();
    }
}

bool SameKey(const std::pair<std::string, std::string>& a, const std::pair<std::string, std::string>& b) {
    return a == b;
}

bool SameSection(const std::pair<std::string, std::string>& a, const std::pair<std::string, std::string>& b) {
    return a.first == b.first;
}

bool HasLineBreakOrNul(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

// A key line the parser reads back as that key: not a comment or a section header.
bool WritableKey(const std::string& key, const std::string& value) {
    const std::string name = Trimmed(key);
    if (HasLineBreakOrNul(key) || name.find('=') != std::string::npos) return false;
    if (!name.empty() && name.front() == ';') return false;
    return name.empty() || name.front() != '[' || (name + value).find(']') == std::string::npos;
}

// What Value() gives for a value written: no blanks around it, and one pair of quotes less.
std::string ReadBack(const std::string& value) {
    std::string text = Trimmed(value);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(40);
    const std::string key = input.ConsumeRandomLengthString(40);
    const std::string value = input.ConsumeRandomLengthString(80);
    const ProfileDocument original(input.ConsumeRemainingBytesAsString());
    const Values before = AllValues(original);

    ProfileDocument edited(original.Text());
    edited.SetValue(section, key, value);
    if (!HasLineBreakOrNul(section) && WritableKey(key, value) && !HasLineBreakOrNul(value)) {
        const auto name = Name(section, key);
        for (const ProfileDocument& document : {edited, ProfileDocument(edited.Text())}) {
            const auto read = document.Value(section, key);
            if (!read || *read != ReadBack(value)) std::abort();
            CheckOthersKept(before, document, SameKey, name);
        }
    }
    AllValues(edited);

    ProfileDocument withoutKey(original.Text());
    withoutKey.DeleteKey(section, key);
    CheckOthersKept(before, withoutKey, SameKey, Name(section, key));

    ProfileDocument withoutSection(original.Text());
    withoutSection.DeleteSection(section);
    CheckOthersKept(before, withoutSection, SameSection, Name(section, key));
    if (withoutSection.Value(section, key)) std::abort();
    return 0;
}
