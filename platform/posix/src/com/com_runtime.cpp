// CoInitializeEx / CoUninitialize: a per-thread count and threading model.
#include <objbase.h>

#include <atomic>

#include "com_apartment.h"

namespace {

struct ThreadApartment {
    unsigned count = 0;
    bool apartmentThreaded = false;
};

thread_local ThreadApartment apartment;
std::atomic<int> openMultithreadedApartments{0};

}  // namespace

HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit) {
    if (reserved) return E_INVALIDARG;
    const bool apartmentThreaded = (coInit & COINIT_APARTMENTTHREADED) != 0;
    if (apartment.count > 0) {
        if (apartment.apartmentThreaded != apartmentThreaded) return RPC_E_CHANGED_MODE;
        ++apartment.count;
        return S_FALSE;
    }
    apartment.count = 1;
    apartment.apartmentThreaded = apartmentThreaded;
    if (!apartmentThreaded) ++openMultithreadedApartments;
    return S_OK;
}

void CoUninitialize() {
    if (apartment.count == 0) return;
    if (--apartment.count == 0 && !apartment.apartmentThreaded) --openMultithreadedApartments;
}

bool ComUsableOnThisThread() { return apartment.count > 0 || openMultithreadedApartments > 0; }
