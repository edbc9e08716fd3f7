// A scenario file's bytes. A mistake is reported in one line of at most a few
// hundred bytes, with no control character and no byte that is not UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scenario_reader.h"
#include "scenario_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ScenarioReadResult result = ParseScenario(std::string_view(reinterpret_cast<const char*>(data), size));
    if (result.scenario.has_value() == !result.error.empty()) std::abort();
    if (result.scenario) return 0;
    if (result.error.size() > 400 || !WideFromUtf8(result.error)) std::abort();
    for (std::size_t i = 0; i < result.error.size(); ++i) {
        const auto byte = static_cast<unsigned char>(result.error[i]);
        const auto next = i + 1 < result.error.size() ? static_cast<unsigned char>(result.error[i + 1]) : 0;
        if (byte < 0x20 || byte == 0x7F || (byte == 0xC2 && next >= 0x80 && next <= 0x9F)) std::abort();
    }
    return 0;
}
