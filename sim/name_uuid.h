#pragma once

#include <windows.h>

#include <string_view>

// The name-based UUID, version 5 (SHA-1), of `name` in the URL namespace
// {6BA7B811-9DAD-11D1-80B4-00C04FD430C8}, as a GUID: the same name always
// gives the same id.
GUID NameUuidInUrlNamespace(std::string_view name);
