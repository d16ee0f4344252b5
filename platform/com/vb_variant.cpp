#include "platform/com/vb_variant.h"

#include "platform/vb/runtime_error.h"

namespace com {

vb::Variant ToVbVariant(const VARIANT& in) {
    VARIANT v;
    VariantInit(&v);
    if (Failed(VariantCopyInd(&v, &in))) vb::Raise(vb::err::TypeMismatch);
    vb::Variant out;
    switch (v.vt) {
    case VT_EMPTY: break;
    case VT_NULL: out = vb::Variant(vb::Null{}); break;
    case VT_BOOL: out = vb::Variant(v.boolVal != 0); break;
    case VT_UI1: out = vb::Variant(v.bVal); break;
    case VT_I2: out = vb::Variant(v.iVal); break;
    case VT_I4: out = vb::Variant(v.lVal); break;
    case VT_R4: out = vb::Variant(v.fltVal); break;
    case VT_R8: out = vb::Variant(v.dblVal); break;
    case VT_DATE: out = vb::Variant(vb::Date{v.date}); break;
    case VT_BSTR: out = vb::Variant(std::string(BstrView(v.bstrVal))); break;
    case VT_ARRAY | VT_VARIANT: {
        vb::VariantArray items;
        if (v.parray) {
            items.reserve(v.parray->count);
            try {
                for (std::uint32_t i = 0; i < v.parray->count; ++i) items.push_back(ToVbVariant(v.parray->data[i]));
            } catch (...) {
                VariantClear(&v);
                throw;
            }
        }
        out = vb::Variant(std::move(items));
        break;
    }
    default: VariantClear(&v); vb::Raise(vb::err::TypeMismatch);
    }
    VariantClear(&v);
    return out;
}

HRESULT FromVbVariant(const vb::Variant& in, VARIANT* out) {
    if (!out) return E_POINTER;
    VariantClear(out);
    const vb::Variant v = in.Deref();
    switch (v.Type()) {
    case vb::VarType::Empty: break;
    case vb::VarType::Null: out->vt = VT_NULL; break;
    case vb::VarType::Boolean:
        out->vt = VT_BOOL;
        out->boolVal = v.AsBool() ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case vb::VarType::Byte:
        out->vt = VT_UI1;
        out->bVal = static_cast<std::uint8_t>(v.AsDouble());
        break;
    case vb::VarType::Integer:
        out->vt = VT_I2;
        out->iVal = static_cast<std::int16_t>(v.AsDouble());
        break;
    case vb::VarType::Long:
        out->vt = VT_I4;
        out->lVal = static_cast<std::int32_t>(v.AsDouble());
        break;
    case vb::VarType::Single:
        out->vt = VT_R4;
        out->fltVal = static_cast<float>(v.AsDouble());
        break;
    case vb::VarType::Double:
        out->vt = VT_R8;
        out->dblVal = v.AsDouble();
        break;
    case vb::VarType::Date:
        out->vt = VT_DATE;
        out->date = v.AsDate().serial;
        break;
    case vb::VarType::String:
        out->bstrVal = SysAllocString(v.AsString());
        if (!out->bstrVal) return E_OUTOFMEMORY;
        out->vt = VT_BSTR;
        break;
    case vb::VarType::Array: {
        const vb::VariantArray& items = v.AsArray();
        SAFEARRAY* a = SafeArrayCreateVector(0, static_cast<std::uint32_t>(items.size()));
        if (!a) return E_OUTOFMEMORY;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (const HRESULT hr = FromVbVariant(items[i], &a->data[i]); Failed(hr)) {
                SafeArrayDestroy(a);
                return hr;
            }
        }
        out->vt = VT_ARRAY | VT_VARIANT;
        out->parray = a;
        break;
    }
    }
    return S_OK;
}

VariantArg::VariantArg(vb::Variant& variable) : variable_(&variable) {
    VariantInit(&arg_);
    VariantInit(&shadowVariant_);
    const vb::Variant value = variable.Deref();
    if (variable.IsByRef()) {
        switch (value.Type()) {
        case vb::VarType::Byte:
            shadowByte_ = static_cast<std::uint8_t>(value.AsDouble());
            arg_.vt = VT_BYREF | VT_UI1;
            arg_.pbVal = &shadowByte_;
            return;
        case vb::VarType::Integer:
            shadowInteger_ = static_cast<std::int16_t>(value.AsDouble());
            arg_.vt = VT_BYREF | VT_I2;
            arg_.piVal = &shadowInteger_;
            return;
        case vb::VarType::Long:
            shadowLong_ = static_cast<std::int32_t>(value.AsDouble());
            arg_.vt = VT_BYREF | VT_I4;
            arg_.plVal = &shadowLong_;
            return;
        case vb::VarType::Double:
            shadowDouble_ = value.AsDouble();
            arg_.vt = VT_BYREF | VT_R8;
            arg_.pdblVal = &shadowDouble_;
            return;
        case vb::VarType::String:
            shadowString_ = SysAllocString(value.AsString());
            arg_.vt = VT_BYREF | VT_BSTR;
            arg_.pbstrVal = &shadowString_;
            return;
        default: break;
        }
    }
    FromVbVariant(value, &shadowVariant_);
    arg_.vt = VT_BYREF | VT_VARIANT;
    arg_.pvarVal = &shadowVariant_;
}

VariantArg::VariantArg(const vb::Variant& value) {
    VariantInit(&arg_);
    VariantInit(&shadowVariant_);
    FromVbVariant(value, &arg_);
}

VariantArg::~VariantArg() {
    if (variable_) {
        try {
            variable_->Assign(ToVbVariant(arg_));
        } catch (...) {
            // The shadow has the caller's own type; nothing the callee can put
            // there fails to convert back.
        }
    }
    VariantClear(&arg_);  // a reference owns nothing
    SysFreeString(shadowString_);
    VariantClear(&shadowVariant_);
}

}  // namespace com
