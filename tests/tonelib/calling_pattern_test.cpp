// The road between the program and the component: registration into a
// temporary file, creation by CLSID, calls through the table of functions and
// through IDispatch, release and unloading, unregistration; and the type
// library and version block read from outside.

#include <filesystem>

#include "platform/com/registry.h"
#include "platform/com/typelib.h"
#include "platform/vb/runtime_error.h"
#include "tests/tonelib/calvira_client.h"

namespace {

std::string BstrResult(com::VARIANT& v) {
    EXPECT_EQ(v.vt, com::VT_BSTR);
    std::string s(com::BstrView(v.bstrVal));
    com::VariantClear(&v);
    return s;
}

TEST(CallingPattern, RegisterCreateCallReleaseUnloadUnregister) {
    testsupport::Sandbox sandbox;
    com::EditRegistry([](com::RegistryTree& t) {
        t.Set("CLSID\\{00000000-1111-2222-3333-444444444444}\\InprocServer32", "@", "/some/other.so");
        return com::S_OK;
    });
    const std::string before = sandbox.ReadRegistryFile();
    CalviraLibrary lib;

    // Registration records the library's own absolute path, apartment threaded.
    ASSERT_EQ(lib.registerServer(), com::S_OK);
    const std::string self = std::filesystem::canonical(CalviraLibraryPath()).string();
    EXPECT_EQ(com::InprocServerPath(calvira::CLSID_Calvira12), self);
    const auto reg = com::ReadRegistry();
    EXPECT_EQ(reg.Get("CLSID\\{AD0DA24E-3518-4B73-B04F-C36B924D793D}\\InprocServer32", "ThreadingModel"),
              "Apartment");
    EXPECT_EQ(reg.Get("Interface\\{90AF8F35-140E-4BD2-A483-73DBE7A07CC8}"), "_Calvira12");
    EXPECT_EQ(reg.Get("TypeLib\\{95BB519A-B19F-4A33-BD67-A99A3929BC0C}\\23.0"), "Calvira 12");
    EXPECT_EQ(lib.canUnloadNow(), com::S_OK);

    {
        // Created by CLSID with the interface _Calvira12, as Klic is.
        Klic klic = com::CreateObject<_Calvira12>(calvira::CLSID_Calvira12, calvira::IID_Calvira12);
        EXPECT_EQ(lib.canUnloadNow(), com::S_FALSE);

        // Early binding: one method, check the HRESULT, read Vysledek, then the flag.
        std::uint8_t cislo = 8;
        vb::Variant stupnice("Ges Dur");
        {
            vb::Variant ton = vb::Variant::ByRef(cislo);
            com::VariantArg a(ton), s(stupnice);
            ASSERT_EQ(klic->DejTonVeStupnici(a.get(), s.get()), com::S_OK);
        }
        com::VARIANT v;
        com::VariantInit(&v);
        ASSERT_EQ(klic->get_Vysledek(&v), com::S_OK);
        EXPECT_EQ(BstrResult(v), "ces1,");
        com::VARIANT_BOOL flag = com::VARIANT_TRUE;
        ASSERT_EQ(klic->get_TonNeniVeStupnici(&flag), com::S_OK);
        EXPECT_EQ(flag, com::VARIANT_FALSE);

        // Late binding through IDispatch, from the type library.
        void* p = nullptr;
        ASSERT_EQ(klic->QueryInterface(com::IID_IDispatch, &p), com::S_OK);
        com::ComPtr<com::IDispatch> disp = com::ComPtr<com::IDispatch>::Attach(static_cast<com::IDispatch*>(p));
        std::uint32_t count = 0;
        EXPECT_EQ(disp->GetTypeInfoCount(&count), com::S_OK);
        EXPECT_EQ(count, 1u);

        const char* names[] = {"dejtonvestupnici", "Stupnice", "CisloTonu"};
        com::DISPID ids[3];
        ASSERT_EQ(disp->GetIDsOfNames(names, 3, 0, ids), com::S_OK);
        EXPECT_EQ(ids[0], 0x60030001);
        EXPECT_EQ(ids[1], 1);
        EXPECT_EQ(ids[2], 0);

        com::VARIANT args[2];  // last argument first
        com::VariantInit(&args[0]);
        com::VariantInit(&args[1]);
        args[0].vt = com::VT_BSTR;
        args[0].bstrVal = com::SysAllocString("C Dur");
        std::int16_t n = 3;
        args[1].vt = com::VT_BYREF | com::VT_I2;
        args[1].piVal = &n;
        com::DISPPARAMS params{args, nullptr, 2, 0};
        EXPECT_EQ(disp->Invoke(ids[0], 0, com::DISPATCH_METHOD, &params, nullptr, nullptr), com::S_OK);
        com::VariantClear(&args[0]);
        EXPECT_EQ(n, 3);

        com::DISPPARAMS none{nullptr, nullptr, 0, 0};
        ASSERT_EQ(disp->Invoke(calvira::DISPID_Vysledek, 0, com::DISPATCH_PROPERTYGET, &none, &v, nullptr), com::S_OK);
        EXPECT_EQ(BstrResult(v), "fis,");
        ASSERT_EQ(disp->Invoke(calvira::DISPID_TonNeniVeStupnici, 0, com::DISPATCH_PROPERTYGET | com::DISPATCH_METHOD,
                               &none, &v, nullptr),
                  com::S_OK);
        EXPECT_EQ(v.vt, com::VT_BOOL);
        EXPECT_EQ(v.boolVal, com::VARIANT_TRUE);

        // A property put carries its value as the named argument DISPID_PROPERTYPUT.
        com::VARIANT value;
        com::VariantInit(&value);
        value.vt = com::VT_I4;
        value.lVal = 0;
        com::DISPID putId = com::DISPID_PROPERTYPUT;
        com::DISPPARAMS put{&value, &putId, 1, 1};
        EXPECT_EQ(disp->Invoke(calvira::DISPID_TonNeniVeStupnici, 0, com::DISPATCH_PROPERTYPUT, &put, nullptr,
                               nullptr),
                  com::S_OK);
        flag = com::VARIANT_TRUE;
        ASSERT_EQ(klic->get_TonNeniVeStupnici(&flag), com::S_OK);
        EXPECT_EQ(flag, com::VARIANT_FALSE);

        value.vt = com::VT_BSTR;
        value.bstrVal = com::SysAllocString("a2,");
        com::DISPPARAMS one{&value, nullptr, 1, 0};
        EXPECT_EQ(disp->Invoke(calvira::DISPID_DejCisloTonu, 0, com::DISPATCH_METHOD, &one, nullptr, nullptr),
                  com::S_OK);
        ASSERT_EQ(disp->Invoke(calvira::DISPID_Vysledek, 0, com::DISPATCH_PROPERTYGET, &none, &v, nullptr), com::S_OK);
        EXPECT_EQ(v.vt, com::VT_I2);
        EXPECT_EQ(v.iVal, 30);

        // What IDispatch refuses.
        const char* unknown[] = {"DejNotu"};
        com::DISPID id = 0;
        EXPECT_EQ(disp->GetIDsOfNames(unknown, 1, 0, &id), com::DISP_E_UNKNOWNNAME);
        EXPECT_EQ(id, com::DISPID_UNKNOWN);
        EXPECT_EQ(disp->Invoke(calvira::DISPID_DejTon, 0, com::DISPATCH_METHOD, &none, nullptr, nullptr),
                  com::DISP_E_BADPARAMCOUNT);
        EXPECT_EQ(disp->Invoke(0x12345, 0, com::DISPATCH_METHOD, &one, nullptr, nullptr), com::DISP_E_MEMBERNOTFOUND);
        EXPECT_EQ(disp->Invoke(calvira::DISPID_DejTon, 0, com::DISPATCH_PROPERTYPUT, &one, nullptr, nullptr),
                  com::DISP_E_MEMBERNOTFOUND);
        std::uint32_t argErr = 99;
        EXPECT_EQ(disp->Invoke(calvira::DISPID_TonNeniVeStupnici, 0, com::DISPATCH_PROPERTYPUT, &one, nullptr,
                               &argErr),
                  com::DISP_E_TYPEMISMATCH);
        EXPECT_EQ(argErr, 0u);
        com::VariantClear(&value);

        void* none2 = nullptr;
        EXPECT_EQ(klic->QueryInterface(com::IID_IClassFactory, &none2), com::E_NOINTERFACE);
    }

    // Released: nothing keeps the library any more, unless a lock does.
    EXPECT_EQ(lib.canUnloadNow(), com::S_OK);
    void* f = nullptr;
    ASSERT_EQ(lib.getClassObject(&calvira::CLSID_Calvira12, &com::IID_IClassFactory, &f), com::S_OK);
    auto* factory = static_cast<com::IClassFactory*>(f);
    EXPECT_EQ(factory->LockServer(true), com::S_OK);
    factory->Release();
    EXPECT_EQ(lib.canUnloadNow(), com::S_FALSE);
    ASSERT_EQ(lib.getClassObject(&calvira::CLSID_Calvira12, &com::IID_IClassFactory, &f), com::S_OK);
    factory = static_cast<com::IClassFactory*>(f);
    EXPECT_EQ(factory->LockServer(false), com::S_OK);
    EXPECT_EQ(factory->LockServer(false), com::S_OK);  // one unlock too many
    EXPECT_EQ(lib.canUnloadNow(), com::S_FALSE);      // the factory itself is still held
    void* unused = nullptr;
    EXPECT_EQ(factory->CreateInstance(factory, calvira::IID_Calvira12, &unused), com::CLASS_E_NOAGGREGATION);
    factory->Release();
    EXPECT_EQ(lib.canUnloadNow(), com::S_OK);
    com::CoFreeUnusedLibraries();

    // Unregistration removes exactly what registration wrote.
    ASSERT_EQ(lib.unregisterServer(), com::S_OK);
    EXPECT_EQ(sandbox.ReadRegistryFile(), before);
    void* p = nullptr;
    EXPECT_EQ(com::CoCreateInstance(calvira::CLSID_Calvira12, nullptr, calvira::IID_Calvira12, &p),
              com::REGDB_E_CLASSNOTREG);
    try {
        com::CreateObject<_Calvira12>(calvira::CLSID_Calvira12, calvira::IID_Calvira12);
        FAIL() << "created after unregistration";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 429);
    }
}

TEST(CallingPattern, TheLibraryServesOnlyItsOwnClass) {
    CalviraLibrary lib;
    void* p = reinterpret_cast<void*>(1);
    const com::GUID other = com::MakeGuid("{00000000-1111-2222-3333-444444444444}");
    EXPECT_EQ(lib.getClassObject(&other, &com::IID_IClassFactory, &p), com::CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(lib.getClassObject(&calvira::CLSID_Calvira12, &calvira::IID_Calvira12, &p), com::E_NOINTERFACE);
}

TEST(TypeLibrary, IsCarriedInsideTheLibraryAndFoundThroughTheRegistration) {
    testsupport::Sandbox sandbox;
    CalviraLibrary lib;
    std::optional<com::TypeLib> tl;
    EXPECT_EQ(com::LoadRegTypeLib(calvira::LIBID_calvira, 23, 0, &tl), com::TYPE_E_LIBNOTREGISTERED);
    ASSERT_EQ(lib.registerServer(), com::S_OK);
    ASSERT_EQ(com::LoadRegTypeLib(calvira::LIBID_calvira, 23, 0, &tl), com::S_OK);

    EXPECT_STREQ((*tl)->name, "calvira");
    EXPECT_STREQ((*tl)->description, "Calvira 12");
    EXPECT_EQ(com::FormatGuid((*tl)->libid), "{95BB519A-B19F-4A33-BD67-A99A3929BC0C}");
    EXPECT_EQ((*tl)->majorVersion, 23);
    EXPECT_EQ((*tl)->minorVersion, 0);
    EXPECT_EQ((*tl)->lcid, 0u);
    EXPECT_EQ((*tl)->sysKind, com::SYS_WIN32);
    ASSERT_EQ((*tl)->importCount, 1u);
    EXPECT_STREQ((*tl)->imports[0], "stdole2");

    ASSERT_EQ((*tl)->coclassCount, 1u);
    const com::CoClassDesc& cls = (*tl)->coclasses[0];
    EXPECT_STREQ(cls.name, "Calvira12");
    EXPECT_EQ(com::FormatGuid(cls.clsid), "{AD0DA24E-3518-4B73-B04F-C36B924D793D}");
    EXPECT_EQ(cls.typeFlags, com::TYPEFLAG_FCANCREATE);
    EXPECT_STREQ(cls.description, "");
    ASSERT_TRUE(cls.defaultInterface);
    EXPECT_EQ(*cls.defaultInterface, calvira::IID_Calvira12);
    EXPECT_EQ(cls.eventInterface, nullptr);

    const com::InterfaceDesc* itf = com::FindInterface(**tl, calvira::IID_Calvira12);
    ASSERT_TRUE(itf);
    EXPECT_STREQ(itf->name, "_Calvira12");
    EXPECT_EQ(com::FormatGuid(itf->iid), "{90AF8F35-140E-4BD2-A483-73DBE7A07CC8}");
    EXPECT_EQ(*itf->baseIid, com::IID_IDispatch);
    EXPECT_EQ(itf->typeFlags, com::TYPEFLAG_FHIDDEN | com::TYPEFLAG_FDUAL | com::TYPEFLAG_FNONEXTENSIBLE |
                                  com::TYPEFLAG_FOLEAUTOMATION | com::TYPEFLAG_FDISPATCHABLE);

    struct Entry {
        const char* name;
        std::uint16_t kind;
        com::DISPID id;
        std::vector<std::string> params;
    };
    const Entry entries[] = {
        {"Vysledek", com::INVOKE_PROPERTYGET, 0x40030003, {}},
        {"Vysledek", com::INVOKE_PROPERTYPUT, 0x40030003, {}},
        {"Vysledek", com::INVOKE_PROPERTYPUTREF, 0x40030003, {}},
        {"TonNeniVeStupnici", com::INVOKE_PROPERTYGET, 0x40030004, {}},
        {"TonNeniVeStupnici", com::INVOKE_PROPERTYPUT, 0x40030004, {}},
        {"DejTon", com::INVOKE_FUNC, 0x60030000, {"CisloTonu"}},
        {"DejTonVeStupnici", com::INVOKE_FUNC, 0x60030001, {"CisloTonu", "Stupnice"}},
        {"DejCisloTonu", com::INVOKE_FUNC, 0x60030011, {"Ton"}},
    };
    ASSERT_EQ(itf->funcCount, std::size(entries));
    for (std::size_t i = 0; i < std::size(entries); ++i) {
        const com::FuncDesc& f = itf->funcs[i];
        EXPECT_STREQ(f.name, entries[i].name);
        EXPECT_EQ(f.invokeKind, entries[i].kind) << i;
        EXPECT_EQ(f.dispId, entries[i].id) << i;
        EXPECT_EQ(f.vtableIndex, 7 + i) << "entries follow IUnknown and IDispatch in this order";
        if (f.invokeKind == com::INVOKE_FUNC) {
            ASSERT_EQ(f.paramCount, entries[i].params.size());
            for (std::size_t p = 0; p < entries[i].params.size(); ++p) {
                EXPECT_EQ(f.params[p].name, entries[i].params[p]);
                EXPECT_EQ(f.params[p].vt, com::VT_VARIANT | com::VT_BYREF);
                EXPECT_EQ(f.params[p].flags, com::PARAMFLAG_FIN | com::PARAMFLAG_FOUT);
            }
        }
    }
    EXPECT_EQ(itf->funcs[3].params[0].vt, com::VT_BOOL | com::VT_BYREF);
    EXPECT_EQ(itf->funcs[4].params[0].vt, com::VT_BOOL);
}

TEST(VersionBlock, IsCarriedInsideTheLibrary) {
    const auto info = com::LoadVersionInfo(CalviraLibraryPath());
    ASSERT_TRUE(info);
    const std::pair<const char*, const char*> strings[] = {
        {"ProductName", "calviraXII"}, {"FileVersion", "1.00"},         {"ProductVersion", "1.00"},
        {"InternalName", "calvira"},   {"OriginalFilename", "calvira.dll"}, {"OLESelfRegister", ""},
    };
    for (const auto& [key, value] : strings) EXPECT_EQ(com::QueryVersionString(**info, key), value) << key;
    EXPECT_EQ((*info)->stringCount, std::size(strings));
    EXPECT_EQ((*info)->language, 0x0409);
    EXPECT_EQ((*info)->codePage, 0x04B0);
    EXPECT_EQ((*info)->fileType, com::VFT_DLL);
    EXPECT_EQ((*info)->fileOs, com::VOS_WINDOWS32);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ((*info)->fileVersion[i], i == 0 ? 1 : 0);
        EXPECT_EQ((*info)->productVersion[i], i == 0 ? 1 : 0);
    }
    EXPECT_FALSE(com::LoadVersionInfo("libm.so.6"));
}

}  // namespace
