// Console programs start at the wide entry point, as on Windows; here the C
// library calls main(), which hands over to it with the arguments, read as
// UTF-8, in wide characters.
#include <windows.h>

#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv);

int main(int argc, char** argv) {
    std::vector<std::wstring> arguments;
    for (int i = 0; i < argc; ++i) {
        const int length = MultiByteToWideChar(CP_UTF8, 0, argv[i], -1, nullptr, 0);
        std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
        if (length > 0) MultiByteToWideChar(CP_UTF8, 0, argv[i], -1, wide.data(), length);
        wide.resize(wide.size() - 1);
        arguments.push_back(std::move(wide));
    }
    std::vector<wchar_t*> pointers;
    for (std::wstring& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return wmain(argc, pointers.data());
}
