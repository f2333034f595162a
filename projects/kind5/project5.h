#pragma once

#include "app/project.h"
#include "app/project_view_title.h"
#include "projects/common/kind_page.h"
#include "projects/common/kind_run.h"
#include "projects/kind5/project5_list.h"
#include "projects/kind5/project5_rep.h"
#include "skin/skin_button.h"
#include "skin/skin_date_select.h"
#include "skin/skin_label.h"
#include "skin/skin_slider.h"

#include <QString>
#include <memory>
#include <vector>

class QLockFile;

// Kind 5, Bid Watchtower: scheduled monitoring of (keyword, site) pairs in the paid ads of three search
// engines, with a dated history. The program keeps one list of pairs, "project5.zxml" in the data folder, so
// only one kind-5 project is open at a time; opening a kind-5 file merges its pairs into that list.
class CProject5 : public CProject, private CRunHooks {
  public:
    explicit CProject5(int id);

    void InitInfo() override;
    // Kind 5 has no input page: the wizard ends at once when it is chosen.
    void CreateWizardPage(CSkinDlgHolder* holder, unsigned* nextId, int labelLeft, int fieldLeft, int top,
                          int width, QString preset) override;
    // Refused while another running program owns the list.
    bool ValidateWizardPage(QString& error) override;
    bool CanOpen() override;
    QString OpenRefusal() override;
    // Builds the page and reads the list file; also lets the main window minimise to the tray, as
    // monitoring runs for hours.
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    // Checks the pairs that are due, one engine request per step.
    void Process() override;
    int CanExport(int reserved) override;
    void Export(CProjectExporter* exporter) override;
    // Merges the file's pairs into the list (pairs it holds already are skipped) and saves the list.
    void LoadXml(CDownloader_HTMLTags* tree) override;
    void SaveXml(CDownloader_HTMLTags* root) override;
    void OnCommand(const QString& command, int param, CSkinDlg_Base* sender) override;
    void ShowView(int show) override;

    // Commands of the page.
    static inline const QString kAddCommand = QStringLiteral("prj5_add");
    static inline const QString kDeleteCommand = CProject5_Rep::kDeleteCommand;
    static inline const QString kDateCommand = QStringLiteral("prj5_date_");

    // The list file's path; empty without a data folder.
    static QString ListPath();
    static inline const QString kListInUse = QStringLiteral(
        "The watch list is open in another Tarnwick window.\nClose Bid Watchtower there to use it here.");
    // A list file cut short or with pairs that cannot be read: it holds what was watched, so it is kept.
    static inline const QString kDamagedList =
        QStringLiteral("The monitoring list is damaged and was not loaded; nothing will be saved over it.");

    // 0 = Monday ... 6 = Sunday, from the locale.
    int m_firstDayOfWeek = 0;
    CProject5_List m_list;
    // The list file was read (or there was none): from then on every change is saved.
    bool m_listRead = false;

    CProjectViewTitle m_viewTitle;
    // Start and Stop switch the schedule on and off; the progress counts the requests of the current run.
    CKindPage m_page;
    CSkinButton m_btnAdd;
    CSkinButton m_btnDelete;
    CSkinLabel m_intervalLabel;
    CSkinSlider m_interval;
    CSkinDateSelect m_dateSelect;
    CProject5_Rep m_rep;

  private:
    // Takes (or shares) the hold on the list's lock; false when another program holds it.
    bool TakeListLock();

    // This program's hold on the list; null until taken.
    std::shared_ptr<QLockFile> m_listLock;
    // The pair being checked (task_value::kNone: none), the engine asked next and the positions found so far.
    int m_checkEntry = task_value::kNone;
    int m_checkEngine = 0;
    CProject5_Check m_check;

    // Never checked, or the interval has passed since the last check.
    bool IsDue(const CProject5_Entry& entry, qint64 now) const;
    // The first pair that is due, task_value::kNone when none is.
    int NextDueEntry(qint64 now) const;
    int CountDueEntries(qint64 now) const;
    void EndCheck();
    void DropCheck();
    // The pairs typed into two input dialogs: keywords, then the sites.
    void AddPairs(CSkinDlg_Base* sender);
    // Removes the selected pairs, after asking over dialog when they have checks.
    void DeleteSelected(CSkinDlg_Base* sender);
    bool ConfirmDelete(CSkinDlg_Base* dialog) const;
    // A run's total after pairs went: the requests made and those the remaining due pairs still need.
    void CountRemainingRequests();
    // The schedule on and off.
    void Start();
    void Stop();
    void SaveList();
    // While the newest checks are shown, the calendar stays on today.
    void SelectToday();
    void MarkCheckedDays();
    void ShowDay();
    void ShowPairCount();

    // The run's one lane asks the engines in turn for the pair being checked (its task); the schedule
    // runs until it is stopped.
    int NextTask(int lane) override;
    CServiceStep::Result StartTask(int lane, CServiceLane& request) override;
    Reply StoreReply(int lane, int task, const CDownloader* reply) override;
    void MarkFailed(int lane, int task, const QString& error) override;
    QString ServiceName(int lane, int task) const override;
    QString Subject(int lane, int task) const override;
    bool WorkLeft() const override { return true; }
    void ContentChanged() override;

    CKindRun m_run{m_page.m_bar, *this, 1};
};
