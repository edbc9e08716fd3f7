#include "friendly_name.h"

#include "bstr_holder.h"

std::optional<std::wstring> ReadFriendlyName(ISensor* sensor) {
    BstrHolder name;
    if (FAILED(sensor->GetFriendlyName(name.Put()))) return std::nullopt;
    return std::wstring(name.Text());
}
