#include "plugin/core/KAutomationUpdateThread.h"

#include "foundation/core/Guard.h"
#include "plugin/core/KAudioPlugin.h"

std::int32_t KAutomationUpdateThread::Thread() {
    while (!StopRequested()) {
        KGuard::Run("KAudioPlugin::AutomationUpdateRequestThread", [&] {
            m_plugin.RunDeferredWork();
            KEditorUpdateTarget* editor = m_plugin.EditorUpdateTarget();
            if (!editor || !m_plugin.HasPendingEditorUpdates()) return;
            editor->RequestParameterUpdate();
            m_requests.fetch_add(1);
        });
        WaitForWakeUp(kPeriodMs);
    }
    return 0;
}
