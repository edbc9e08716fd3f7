// gpsd's JSON stream: the input as one line, then split on line feeds as a
// sequence of lines into one set of receivers, whose sensors are then made.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gpsd_receivers.h"

namespace {

// A sensor name holds Unicode characters only.
void CheckName(const std::wstring& name) {
    for (const wchar_t c : name)
        if (c < 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    GpsdReceivers single;
    single.Apply(input);

    GpsdReceivers receivers;
    for (std::string_view rest = input; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        receivers.Apply(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    const auto sensors = receivers.Sensors();
    if (sensors.size() != receivers.All().size()) std::abort();
    for (const SensorDefinition& sensor : sensors) CheckName(sensor.name);
    return 0;
}
