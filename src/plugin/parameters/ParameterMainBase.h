#pragma once
#include "plugin/core/KAudioPlugin.h"

// Common base of the parameter adapters: name, identifier parts and the
// plug-in that lists them.
class ParameterMainBase : public KAudioPlugin::AutomationAdapter {
public:
    ParameterMainBase(KAudioPlugin* owner, KString name, KString identifier)
        : m_owner(owner), m_name(std::move(name)), m_identifier(std::move(identifier)) {}

    KString GetParameterName(int) override { return m_name; }
    // The base identifier followed by the two identifier parts.
    KString GetParameterID(int) override { return KString(m_identifier).Append(m_idPart1).Append(m_idPart2); }
    void SetIdentifierParts(KString first, KString second) {
        m_idPart1 = std::move(first);
        m_idPart2 = std::move(second);
    }

protected:
    KAudioPlugin* Owner() const noexcept { return m_owner; }

private:
    KAudioPlugin* m_owner;
    KString m_name;
    KString m_identifier;
    KString m_idPart1;
    KString m_idPart2;
};
