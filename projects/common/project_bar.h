#pragma once

#include "skin/skin_button.h"
#include "skin/skin_label.h"
#include "skin/skin_progress.h"

#include <QString>
#include <QStringList>

class CDownloader_HTMLTags;
class CSkinDlgHolder;

// The bar at the top of a project's page: the keywords the project works on, the Start/Stop button
// ("prj<kind>_start" while idle, "prj<kind>_stop" while running), a progress bar that reads
// "n of m requests" (", k failed" once requests failed) and the error line: the latest failure, every
// failure of the run in its tooltip, and a click ("prj<kind>_failures") opens the whole list.
class CProjectBar {
  public:
    explicit CProjectBar(int kind);

    // Builds the bar in the main window's view area, below the page heading.
    void Create(CSkinDlgHolder* holder, unsigned* nextId, const QString& keywords);
    void SetVisible(bool visible);

    // A long list is cut short on the page; the whole list stays in the tooltip.
    void SetKeywords(const QString& keywords);
    // Switches the button between Start and Stop.
    void SetRunning(bool running);
    void SetProgress(int done, int total);
    // A message of the kind's own on the error line; empty clears it. The listed failures stay.
    void SetError(const QString& error);
    // A failed request, named by its service and by what it asked about (a keyword, a site): listed,
    // counted and shown on the error line. Answers the text as listed.
    QString AddFailure(const QString& service, const QString& subject, const QString& error);
    // Takes the failures of one task off the list, as its task is asked again.
    void ForgetFailures(const QString& service, const QString& subject);
    // A new run: no failure listed and an empty error line.
    void ClearFailures();
    // Opens the list of every failure over the page's window.
    void ShowFailures();
    // "Bing (red shoes): Receive error: ..."; without the brackets when there is no subject, a long subject
    // cut short like the keywords.
    static QString StepErrorText(const QString& service, const QString& subject, const QString& error);

    // The progress and the error text below the project's element, and back, so that an opened project
    // shows where its run stood when it was saved.
    void SaveXml(CDownloader_HTMLTags* root) const;
    void LoadXml(const CDownloader_HTMLTags* root);

    bool IsRunning() const { return m_running; }
    // Whether a page command is this bar's Start or Stop.
    bool IsStartCommand(const QString& command) const { return command == m_startCommand; }
    bool IsStopCommand(const QString& command) const { return command == m_stopCommand; }
    bool IsFailuresCommand(const QString& command) const { return command == m_failuresCommand; }
    int Done() const { return m_done; }
    int Total() const { return m_total; }
    QString ErrorText() const { return m_error.m_caption; }
    const QString& ErrorTooltip() const { return m_error.m_tooltip; }
    // The failures of the run, oldest first.
    const QStringList& Failures() const { return m_failures; }
    const CSkinButton& Button() const { return m_button; }
    const CSkinProgress& Progress() const { return m_progress; }

    // Where the report grids may begin.
    static constexpr int kTop = 180;
    static constexpr int kBottom = kTop + 32;

  private:
    // The progress text and the error line's tooltip after the count or the list changed.
    void ShowCounts();

    QString m_startCommand;
    QString m_stopCommand;
    QString m_failuresCommand;
    QStringList m_failures;
    bool m_running = false;
    int m_done = 0;
    int m_total = 0;
    CSkinLabel m_keywords;
    CSkinButton m_button;
    CSkinProgress m_progress;
    CSkinLabel m_error;
};
