#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

// {8E1A6D3C-0C54-4B43-9E1F-2B7C51A0D001} and ...002: classes of the fakes below.
const CLSID kRegisteredClass = {0x8e1a6d3c, 0x0c54, 0x4b43, {0x9e, 0x1f, 0x2b, 0x7c, 0x51, 0xa0, 0xd0, 0x01}};
const CLSID kLinkedClass = {0x8e1a6d3c, 0x0c54, 0x4b43, {0x9e, 0x1f, 0x2b, 0x7c, 0x51, 0xa0, 0xd0, 0x02}};
const CLSID kUnknownClass = {0x8e1a6d3c, 0x0c54, 0x4b43, {0x9e, 0x1f, 0x2b, 0x7c, 0x51, 0xa0, 0xd0, 0x03}};

class CountingObject : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        *object = nullptr;
        if (riid != IID_IUnknown) return E_NOINTERFACE;
        *object = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    ULONG references = 0;
};

class CountingFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        ++created;
        return product.QueryInterface(riid, object);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    ULONG references = 1;  // the test's own
    int created = 0;
    CountingObject product;
};

CountingFactory linkedFactory;

class ComRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK); }
    void TearDown() override { CoUninitialize(); }
};

}  // namespace

// The in-process server linked into this executable.
extern "C" HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
    *object = nullptr;
    if (clsid != kLinkedClass) return CLASS_E_CLASSNOTAVAILABLE;
    return linkedFactory.QueryInterface(riid, object);
}

namespace {

TEST(ComApartmentTest, InitialisationIsCountedPerThreadAndKeepsItsMode) {
    std::thread([] {
        void* object = &object;
        EXPECT_EQ(CoCreateInstance(kLinkedClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object),
                  CO_E_NOTINITIALIZED);
        EXPECT_EQ(object, nullptr);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
        CoUninitialize();
        CoUninitialize();
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CoUninitialize();
    }).join();
}

TEST_F(ComRuntimeTest, RegisteredClassObjectCreatesWithBalancedReferences) {
    CountingFactory factory;
    DWORD cookie = 0;
    ASSERT_EQ(
        CoRegisterClassObject(kRegisteredClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
        S_OK);
    EXPECT_EQ(factory.references, 2u);

    IUnknown* object = nullptr;
    ASSERT_EQ(CoCreateInstance(kRegisteredClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    EXPECT_EQ(object, &factory.product);
    EXPECT_EQ(factory.product.references, 1u);
    EXPECT_EQ(factory.references, 2u);
    object->Release();

    void* other = &other;
    EXPECT_EQ(CoCreateInstance(kRegisteredClass, nullptr, CLSCTX_INPROC_SERVER, IID_IClassFactory, &other),
              E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(CoCreateInstance(kRegisteredClass, &factory.product, CLSCTX_ALL, IID_IUnknown, &other),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory.references, 2u);
    EXPECT_EQ(factory.product.references, 0u);

    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(factory.references, 1u);
    EXPECT_NE(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(CoCreateInstance(kRegisteredClass, nullptr, CLSCTX_ALL, IID_IUnknown, &other),
              REGDB_E_CLASSNOTREG);
}

TEST_F(ComRuntimeTest, LinkedServerIsAskedWhenNothingIsRegistered) {
    const int before = linkedFactory.created;
    IUnknown* object = nullptr;
    ASSERT_EQ(CoCreateInstance(kLinkedClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    EXPECT_EQ(object, &linkedFactory.product);
    EXPECT_EQ(linkedFactory.created, before + 1);
    EXPECT_EQ(linkedFactory.references, 1u);
    object->Release();
    EXPECT_EQ(linkedFactory.product.references, 0u);

    // A registration takes precedence over the linked server.
    CountingFactory registered;
    DWORD cookie = 0;
    ASSERT_EQ(
        CoRegisterClassObject(kLinkedClass, &registered, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
        S_OK);
    ASSERT_EQ(
        CoCreateInstance(kLinkedClass, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&object)),
        S_OK);
    EXPECT_EQ(object, &registered.product);
    object->Release();
    CoRevokeClassObject(cookie);

    void* none = &none;
    EXPECT_EQ(CoCreateInstance(kUnknownClass, nullptr, CLSCTX_ALL, IID_IUnknown, &none), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(CoCreateInstance(kLinkedClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &none),
              REGDB_E_CLASSNOTREG);
}

}  // namespace
