// The host of an in-process server that leaves COM and runs on: it creates
// the simulator's sensor manager (its scenario names a gpsd that never
// accepts, so sensorsim.dll's worker waits for the connection), releases it
// and leaves COM, which unloads every server whose DllCanUnloadNow allows it.
// sensorsim.dll must still be loaded then, and the process must run on.
// Exit code 0 when it is, 1 when it was unloaded, 2 without a sensor manager.
#include <windows.h>
#include <objbase.h>
#include <sensorsapi.h>

#include <cstdio>

int main() {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ISensorManager* manager = nullptr;
    const HRESULT created = CoCreateInstance(CLSID_SensorManager, nullptr, CLSCTX_INPROC_SERVER, IID_ISensorManager,
                                             reinterpret_cast<void**>(&manager));
    if (FAILED(created) || manager == nullptr) {
        std::printf("no sensor manager: 0x%08lx\n", static_cast<unsigned long>(created));
        return 2;
    }
    manager->Release();
    CoFreeUnusedLibrariesEx(0, 0);
    CoUninitialize();
    const bool loaded = GetModuleHandleW(L"sensorsim.dll") != nullptr;
    std::printf(loaded ? "sensorsim.dll still loaded\n" : "sensorsim.dll unloaded under its worker\n");
    std::fflush(stdout);
    // Time for the worker to run again, in the module or where it was.
    Sleep(1000);
    return loaded ? 0 : 1;
}
