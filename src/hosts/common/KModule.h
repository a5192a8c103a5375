#pragma once
#include "foundation/core/KObject.h"
#include "foundation/text/KString.h"

// The process-wide object that stands for the loaded library: its instance
// handle, the name it identifies itself by, and the places derived from its
// file. One exists at a time (see KLibrary.h).
class KModule : public KObject {
public:
    // `instanceHandle` is the library's handle from process attach; without
    // one (a host that never attached us) the host program's is taken.
    explicit KModule(void* instanceHandle) noexcept;
    ~KModule() override;
    KModule(const KModule&) = delete;
    KModule& operator=(const KModule&) = delete;

    // Reads the library's file name and derives the module's folder from it.
    virtual void Initialize();

    void* InstanceHandle() const noexcept { return m_instanceHandle; }
    // The module that asked for this library (a companion module passes its
    // own name); empty for a host.
    const KString& CallerName() const noexcept { return m_callerName; }
    void SetCallerName(const KString& name) { m_callerName = name; }
    // The identifying name: maker and product joined by one blank.
    const KString& Name() const noexcept { return m_name; }
    // The library file and its folder; empty until Initialize.
    const KString& LibraryPath() const noexcept { return m_libraryPath; }
    const KString& LibraryFolder() const noexcept { return m_libraryFolder; }

protected:
    void SetName(const KString& name) { m_name = name; }

private:
    KString m_callerName;
    void* m_instanceHandle;
    KString m_name;
    KString m_libraryPath;
    KString m_libraryFolder;
};
