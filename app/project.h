#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <mutex>

class CDownloader_HTMLTags;
class CMainDlg;
class CProjectExporter;
class CSkinDlgHolder;
class CSkinDlg_Base;

namespace plat {
class DeviceContext;
}

// Base of the eight project kinds: what the main window, the new-project wizard and the project tick know
// of every project, and the operations through which they drive a kind. A project is owned by exactly one
// holder: the wizard while it is offered, then the main window once it is a tab.
class CProject {
  public:
    // id: the owner key of the project's download jobs, taken from the crawler's counter.
    explicit CProject(int id);
    CProject(const CProject&) = delete;
    CProject& operator=(const CProject&) = delete;

    // Sets the kind's name, description and defaults.
    virtual void InitInfo();
    // The kind's input page in the wizard; preset: the keywords of a send-to command, else empty.
    virtual void CreateWizardPage(CSkinDlgHolder* holder, unsigned* nextId, int labelLeft, int fieldLeft,
                                  int top, int width, QString preset);
    virtual void DestroyWizardPage();
    // True ends the wizard with this kind; false with an error text keeps it open and shows the text.
    virtual bool ValidateWizardPage(QString& error);
    // Builds the results page in the main window's holder, once, when the project becomes a tab.
    virtual void CreateView(CSkinDlgHolder* holder, unsigned* nextId);
    // One non-blocking step, run by the project tick with the crawler's current job set to m_id.
    virtual void Process();
    // Paints behind the view of the current project, after the main window drew the project frame.
    virtual void DrawView(plat::DeviceContext& dc, CMainDlg* mainWnd);
    virtual bool CanOpen();
    // Why CanOpen refused, for the open command to show; empty: the project is dropped without a word.
    virtual QString OpenRefusal();
    virtual bool CanSave();
    // 1 export, 0 refuse with a message, anything else does nothing.
    virtual int CanExport(int reserved);
    // Called with m_cs held and the exporter's file open.
    virtual void Export(CProjectExporter* exporter);
    // tree: the whole file; the kind reads below its element "Project<kind>".
    virtual void LoadXml(CDownloader_HTMLTags* tree);
    // root: the element "Project<kind>" just added to an empty tree.
    virtual void SaveXml(CDownloader_HTMLTags* root);
    virtual void OnWizardDone();
    virtual void OnCommand(const QString& command, int param, CSkinDlg_Base* sender);
    // kShowView for the current project, kHideView for every other.
    virtual void ShowView(int show);
    virtual void ClearAll();
    virtual void ClearData();
    virtual ~CProject();

    // Results arrived that a save could keep, and they are not saved yet.
    bool HasUnsavedResults();
    // Before an action that drops the results: asks kLoseResults over dialog when results arrived since the
    // last save or open. True to go on (nothing to lose, no dialog to ask over, or the user answered Yes).
    bool ConfirmLoseResults(CSkinDlg_Base* dialog);

    static inline const QString kLoseResults =
        QStringLiteral("You will lose any unsaved results.\nAre you sure you want to continue?");
    static constexpr int kShowView = 5;
    static constexpr int kHideView = 0;
    // The tab caption of a paused project ends in this.
    static inline const QString kPausedSuffix = QStringLiteral(" (paused)");

    // Held while the records are exported, cleared or deleted; Process does not take it.
    std::recursive_mutex m_cs;
    bool m_paused = false;
    // Set by the tick: the project held a downloader before its step or asked for one during it.
    bool m_busy = false;
    // 1 to 8, set by the kind's constructor; names the project file's root element.
    int m_kind = 0;
    int m_id;
    // Data arrived and is not saved yet; closing the tab or the main window asks before losing it.
    bool m_hasResults = false;
    bool m_viewCreated = false;
    QString m_name;
    QString m_description;
    // When not empty, the tab shows this instead of m_name.
    QString m_tabTitle;
};

// Makes a new project of kind 1 to 8 with the given id, or null for any other kind. The kinds live above the
// application shell, so the program hands the shell this maker at start-up.
using ProjectFactory = std::function<std::unique_ptr<CProject>(int kind, int id)>;
