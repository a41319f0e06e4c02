#include "UiServices.h"

#include "ScriptedUiServices.h"

#include <atomic>

namespace {
std::atomic<UiServices*> g_pUiServices{nullptr};
}

void UiServices::BeginWaitCursor()
{
    if (m_nWaitDepth++ == 0)
        ShowWaitCursor(true);
}

void UiServices::EndWaitCursor()
{
    if (m_nWaitDepth == 0)
        return;
    if (--m_nWaitDepth == 0)
        ShowWaitCursor(false);
}

UiServices& Ui()
{
    UiServices* installed = g_pUiServices.load();
    if (installed)
        return *installed;
    static ScriptedUiServices fallback;
    return fallback;
}

void SetUiServices(UiServices* services)
{
    g_pUiServices.store(services);
}
