#pragma once
#include "foundation/xml/KStorageContext.h"
#include "presets/library/KPresetManagerBase.h"

// The preset library of one owner type. The owner stores and loads its
// settings with `StoreSettings(KStorageContext&)` (the plug-in: everything
// but the host-side settings) and learns of a load through
// `OnPresetLoaded()`, where it tells the host that parameters changed.
template <class Owner>
class KPresetManagerT : public KPresetManagerBase {
public:
    KPresetManagerT(Owner& owner, KString stem) : KPresetManagerBase(std::move(stem)), m_owner(owner) {}

    Owner& PresetOwner() const noexcept { return m_owner; }

protected:
    void StoreOwnerSettings(KXMLItem& item) override {
        KStorageContext context(item, true);
        m_owner.StoreSettings(context);
    }
    void LoadOwnerSettings(KXMLItem& item) override {
        KStorageContext context(item, false);
        m_owner.StoreSettings(context);
        m_owner.OnPresetLoaded();
    }

private:
    Owner& m_owner;
};
