// The set-up screen's pages that belong to others: the file requester for loading and saving
// the player's named set-ups, and the circuit information page.

#include <string>

#include "app/settings/MenuState.h"
#include "core/files/FileSystem.h"
#include "frontend/toolkit/CircuitInfoScreen.h"
#include "frontend/toolkit/FileRequester.h"
#include "setup/SetupFiles.h"
#include "setup/SetupScreen.h"

namespace
{
std::string RequesterTitle(SetupPage page, Language language)
{
    const bool english = language == Language::English;
    if (page == SetupPage::LoadSetup)
    {
        return english ? "Load Setup" : "Setup Laden";
    }
    return english ? "Save Setup" : "Setup Sichern";
}
}  // namespace

// The class's folder is made when it is missing; when it still cannot be entered the
// requester closes and the screen stays on its page.
bool SetupScreen::OpenRequester(SetupPage page)
{
    LeaveSubPage();
    const std::string folder = SetupClassDirectory(m_context.race->bikeClass);
    g_fileRequester.Open(page == SetupPage::LoadSetup ? FileRequester::kPickFile
                                                      : FileRequester::kTypeName);
    g_fileRequester.MoveTo(FileRequester::kDefaultX, FileRequester::kDefaultY);
    if (!g_fileRequester.SetDirectory(folder))
    {
        files::MakeDirectories(folder);
        if (!g_fileRequester.SetDirectory(folder))
        {
            g_fileRequester.Close();
            return false;
        }
    }
    m_pages->OpenPage(page);
    SelectIcon(page == SetupPage::LoadSetup ? kLoadIcon : kSaveIcon);
    g_fileRequester.ScanDirectory("");
    g_fileRequester.SetLabels(
        FileRequester::LanguageLabels(static_cast<int32_t>(ToIndex(m_context.language))));
    g_fileRequester.SetTitle(RequesterTitle(page, m_context.language));
    g_fileRequester.SetDirtyLists(&m_listA, &m_listB);
    MarkAll();
    return true;
}

// A name the requester accepted is loaded or saved; any answer ends the page. Read and write
// errors are not reported: after a failed load the pages show the record as it stands.
void SetupScreen::FinishRequester()
{
    std::string name;
    const int32_t result = g_fileRequester.GetResult(&name);
    if (result == FileRequester::kPending)
    {
        return;
    }
    if (result == FileRequester::kAccepted)
    {
        if (const auto path = SetupFilePath(m_context.race->bikeClass, name))
        {
            if (m_pages->Page() == SetupPage::LoadSetup)
            {
                m_pages->LoadSetupFile(*path);
                SyncTyreButtons();
            }
            else
            {
                m_pages->SaveSetupFile(*path);
            }
        }
    }
    LeaveSubPage();
    SelectIcon(-1);
    MarkAll();
}

void SetupScreen::OpenCircuitInfo()
{
    LeaveSubPage();
    m_pages->OpenPage(SetupPage::CircuitInfo);
    SelectIcon(kCircuitIcon);
    m_circuitPanel = {};
    CircuitInfoScreen::Open(m_circuitPanel,
                            m_context.settings != nullptr ? *m_context.settings : g_menuState,
                            m_context.session);
    MarkAll();
}

void SetupScreen::CloseCircuitInfo()
{
    LeaveSubPage();
    SelectIcon(-1);
    MarkAll();
}

// Closes the requester or the circuit page when one is open, back on the main page.
void SetupScreen::LeaveSubPage()
{
    const SetupPage page = m_pages->Page();
    if (page == SetupPage::LoadSetup || page == SetupPage::SaveSetup)
    {
        g_fileRequester.Close();
        g_fileRequester.SetDirtyLists(nullptr, nullptr);
    }
    else if (page == SetupPage::CircuitInfo)
    {
        CircuitInfoScreen::Close();
        m_circuitPanel = {};
    }
    else
    {
        return;
    }
    m_pages->LeavePage();
}

// The circuit page takes the mouse alone: its OK button returns to the main page. True when
// the page is open.
bool SetupScreen::HandleCircuitInput(bool press)
{
    if (m_pages->Page() != SetupPage::CircuitInfo)
    {
        return false;
    }
    Gadget* hit = FindGadgetAt(m_circuitPanel, m_cursorX, m_cursorY);
    UpdateGadgetHover(m_circuitPanel, hit, m_listA, m_listB);
    if (press)
    {
        m_buttonHeld = true;
        if (hit == &CircuitInfoScreen::OkGadget())
        {
            CloseCircuitInfo();
        }
    }
    return true;
}
