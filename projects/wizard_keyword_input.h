#pragma once

#include "skin/skin_drop_list.h"
#include "skin/skin_edit.h"
#include "skin/skin_label.h"

#include <QString>
#include <QStringList>

class CDownloader_HTMLTags;
class CSkinDlgHolder;

// The keyword input that the kinds show in the new-project wizard, and the keywords it gathered, as the
// project keeps, saves and reads them. A list input is an editable drop list of the keyword history that
// takes several keywords typed as "kw1;kw2;"; a single input is a plain field that takes one keyword; a
// single list input is the history's drop list taking one keyword.
class CWizardKeywordInput {
  public:
    enum class Mode { List, Single, SingleList };
    // Whether accepting the page adds its keywords to the keyword history; a list input offers the history
    // either way.
    enum class History { Add, Offer };

    // kind: the project's kind, which names the page commands ("prj<kind>_...").
    CWizardKeywordInput(int kind, Mode mode, History history = History::Add);

    // Builds the label and the field; preset: keywords each followed by ';' (a single or single list input
    // takes the first).
    void CreatePage(CSkinDlgHolder* holder, unsigned* nextId, int labelLeft, int fieldLeft, int top,
                    int width, const QString& preset);
    void DestroyPage();
    // False with "Please enter a keyword." when nothing was typed, and with kOneKeywordOnly when several were
    // typed into the history's list of one; on acceptance the keywords are kept (the first alone by a plain
    // field of one) and an input with a drop list that adds to the history adds them.
    bool Validate(QString& error);
    // The wizard's answer about clearing the history: the list is refilled (cleared) or left without a
    // choice (kept); either way its text is emptied, silently.
    void OnHistoryAnswer(int param);
    // Whether a page command belongs to this input's keyword list.
    bool IsListCommand(const QString& command) const;

    // Writes the keywords below the project's root element, and reads them back from the file's tree.
    void SaveXml(CDownloader_HTMLTags* root) const;
    void LoadXml(CDownloader_HTMLTags* tree);

    // The keywords as the user types them: each followed by ';' ("kw1;kw2;").
    static QString JoinKeywords(const QStringList& keywords);
    // Splits typed text at ';' into trimmed, non-empty keywords.
    static QStringList SplitKeywords(const QString& text);

    const QStringList& Keywords() const { return m_keywords; }
    const CSkinDropList& List() const { return m_list; }

    static inline const QString kEmptyKeyword = QStringLiteral("Please enter a keyword.");
    static inline const QString kOneKeywordOnly =
        QStringLiteral("This project searches for one keyword at a time. Please enter one keyword.");

  private:
    // The input is the history's drop list, not a plain field.
    bool HasList() const { return m_mode != Mode::Single; }
    QString Text() const;
    // Fills the drop list with the keyword history; a list of one is offered single keywords only.
    void FillHistory();
    QString RootName() const;

    int m_kind;
    Mode m_mode;
    History m_history;
    QStringList m_keywords;
    CSkinLabel m_label;
    CSkinDropList m_list;
    CSkinEdit m_field;
    bool m_pageShown = false;
};
