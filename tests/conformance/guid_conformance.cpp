// GUID text: StringFromGUID2, StringFromCLSID, CLSIDFromString and
// IIDFromString as Windows answers them.
// The rows and their expected answers come from Wine's conformance tests,
// dlls/ole32/tests/compobj.c (Wine's tests are LGPL-2.1-or-later). Test data
// only: nothing of this file is shipped.
#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <iterator>
#include <string>

#include "conformance.h"

using conformance::Check;

namespace {

const GUID kFont = {0x0be35203, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
const GUID kFactory = {0x00000001, 0x0000, 0x0000, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID kNull = {};
// What a GUID holds before each call, so that fields left alone show.
const GUID kFill = {0xcccccccc, 0xcccc, 0xcccc, {0xcc, 0xcc, 0xcc, 0xcc, 0xcc, 0xcc, 0xcc, 0xcc}};

constexpr const wchar_t* kFontText = L"{0be35203-8f91-11ce-9de3-00aa004bb851}";

// How much of the GUID after the call a row is sure of.
enum class Compare { Whole, FirstField, FirstTwoFields };

struct ParseRow {
    const wchar_t* text;
    HRESULT result;
    GUID after;
    Compare compare;
};

bool Matches(const GUID& got, const GUID& expected, Compare compare) {
    switch (compare) {
    case Compare::Whole: return std::memcmp(&got, &expected, sizeof got) == 0;
    case Compare::FirstTwoFields: return got.Data1 == expected.Data1 && got.Data2 == expected.Data2;
    case Compare::FirstField: return got.Data1 == expected.Data1;
    }
    return false;
}

std::string Narrow(const wchar_t* text) {
    if (!text) return "(null)";
    std::string narrow;
    for (; *text; ++text) narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    return narrow;
}

// Bad braced text keeps the fields read before the fault; text without a
// brace gives the null GUID.
const ParseRow kClsidRows[] = {
    {kFontText, S_OK, kFont, Compare::Whole},
    {nullptr, S_OK, kNull, Compare::Whole},
    {L"{00000001-0000-0000-c000-000000000046}a", CO_E_CLASSSTRING, kFactory, Compare::Whole},
    {L"{0be35203-8f91-11ce-9de3-00aa004bb851}AAAAAAAAAAA", CO_E_CLASSSTRING, kFont, Compare::Whole},
    {L"{0be35203-8f91-11ce-9de3-00aa004bb851AAAAAAAAAAAA", CO_E_CLASSSTRING, kFont, Compare::Whole},
    {L"{0be35203-8f91-11ce-9de3-00aa004bb851A", CO_E_CLASSSTRING, kFont, Compare::Whole},
    {L"{0be35203-8f91-11ce-9de3-00aa004bb851", CO_E_CLASSSTRING, kFont, Compare::Whole},
    {L"0be35203-8f91-11ce-9de3-00aa004bb851", CO_E_CLASSSTRING, kNull, Compare::Whole},
    {L"{0be35203*8f91-11ce-9de3-00aa004bb851", CO_E_CLASSSTRING, {0x0be35203, 0xcccc, 0, {}},
     Compare::FirstTwoFields},
    {L"{0b*35203*8f91-11ce-9de3-00aa004bb851", CO_E_CLASSSTRING, {0xb, 0xcccc, 0, {}}, Compare::FirstTwoFields},
    {L"{0b", CO_E_CLASSSTRING, {0xb, 0xcccc, 0, {}}, Compare::FirstTwoFields},
};

// Only text of the braced length is read; the errors are IIDFromString's own.
const ParseRow kIidRows[] = {
    {kFontText, S_OK, kFont, Compare::Whole},
    {nullptr, S_OK, kNull, Compare::Whole},
    {L"{00000001-0000-0000-c000-000000000046}", S_OK, kFactory, Compare::Whole},
    {L"{00000001-0000-0000-c000-000000000046}a", E_INVALIDARG, kFill, Compare::Whole},
    {L"{00000001-0000-0000-g000-000000000046}", CO_E_IIDSTRING, {0x00000001, 0, 0, {}}, Compare::FirstField},
    {L"{00000001=0000-0000-g000-000000000046}", CO_E_IIDSTRING, {0x00000001, 0, 0, {}}, Compare::FirstField},
    {L"broken001=0000-0000-g000-000000000046}", CO_E_IIDSTRING, kFill, Compare::Whole},
    {L"NonExistent", E_INVALIDARG, kFill, Compare::Whole},
    {L"StdFont", E_INVALIDARG, kFill, Compare::Whole},
};

void CheckParsing(const char* function, const ParseRow* rows, size_t count,
                  HRESULT (*parse)(LPCOLESTR, GUID*)) {
    for (size_t i = 0; i < count; ++i) {
        const ParseRow& row = rows[i];
        GUID guid = kFill;
        const HRESULT result = parse(row.text, &guid);
        const std::string name = std::string(function) + " " + Narrow(row.text);
        Check(result == row.result, name + ": result");
        Check(Matches(guid, row.after, row.compare), name + ": GUID afterwards");
    }
}

}  // namespace

void CheckGuidText() {
    conformance::BeginGroup("GUID text");
    CheckParsing("CLSIDFromString", kClsidRows, std::size(kClsidRows),
                 [](LPCOLESTR text, GUID* guid) { return CLSIDFromString(text, guid); });
    CheckParsing("IIDFromString", kIidRows, std::size(kIidRows),
                 [](LPCOLESTR text, GUID* guid) { return IIDFromString(text, guid); });

    const std::wstring upper = L"{0BE35203-8F91-11CE-9DE3-00AA004BB851}";
    for (const int size : {50, 39, 38, 30}) {
        wchar_t text[50] = {};
        const int length = StringFromGUID2(kFont, text, size);
        const int expected = size >= 39 ? 39 : 0;
        Check(length == expected, "StringFromGUID2 into " + std::to_string(size) + ": length");
        if (expected) Check(text == upper, "StringFromGUID2 into " + std::to_string(size) + ": text");
    }
    LPOLESTR text = nullptr;
    Check(StringFromCLSID(kFont, &text) == S_OK && text && text == upper, "StringFromCLSID");
    CoTaskMemFree(text);
}
