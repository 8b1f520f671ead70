// Reference counting as COM objects do it, for the platform's software
// objects: AddRef and Release count, the last Release deletes, and asking for
// an interface the object does not offer is refused.
#pragma once

#include "platform/win32/win32.h"

namespace platform
{

template <class... Interfaces> class ComObject : public Interfaces...
{
public:
    HRESULT QueryInterface(const IID&, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++m_nReferences; }
    ULONG Release() override
    {
        const ULONG left = --m_nReferences;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComObject() = default;
    ~ComObject() override = default;

private:
    ULONG m_nReferences = 1;
};

} // namespace platform
