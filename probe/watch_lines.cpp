#include "watch_lines.h"

#include <cstdio>
#include <cwchar>

#include "json_report.h"
#include "printable_text.h"
#include "sensor_state.h"

namespace {

const char* KindName(WatchEvent::Kind kind) {
    switch (kind) {
        case WatchEvent::Kind::Enter: return "enter";
        case WatchEvent::Kind::Leave: return "leave";
        case WatchEvent::Kind::StateChanged: return "state";
        case WatchEvent::Kind::DataUpdated: return "data";
    }
    return "";
}

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

std::string UtcTimeText(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto milliseconds = floor<std::chrono::milliseconds>(time);
    const auto day = floor<days>(milliseconds);
    const year_month_day date{day};
    const hh_mm_ss clock{milliseconds - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text;
}

std::wstring WatchEventText(const WatchEvent& event) {
    std::wstring line = Widened(UtcTimeText(event.time)) + L" " + (event.id ? GuidText(*event.id) : L"(no id)") +
                        L" " + PrintableText(event.name ? event.name->c_str() : nullptr) + L": " +
                        Widened(KindName(event.kind));
    if (event.state) line += L" " + std::wstring(SensorStateNameW(*event.state));
    for (const ReportValue& value : event.values) {
        wchar_t number[64];
        std::swprintf(number, 64, L"%f", value.value);
        line += L" " + std::wstring(value.field) + L"=" + number;
    }
    return line + L"\n";
}

nlohmann::ordered_json WatchEventJson(const WatchEvent& event) {
    nlohmann::ordered_json json = {{"time", UtcTimeText(event.time)}, {"event", KindName(event.kind)}};
    if (event.id) json["id"] = Utf8(GuidText(*event.id));
    json["name"] = NameJson(event.name);
    if (event.state) {
        json["state"] = SensorStateName(*event.state);
        json["state_number"] = *event.state;
    }
    if (event.kind == WatchEvent::Kind::DataUpdated) json["values"] = ValuesJson(event.values);
    return json;
}
