#pragma once

#include <QString>

// A keyword drop list as the crawler sees it when it fills one with the keyword history: the crawler lies
// below the user interface, so the skin's drop list offers these operations through this interface.
class HistoryDropList {
  public:
    virtual ~HistoryDropList() = default;

    // Removes every item and empties the text.
    virtual void ResetContent() = 0;
    // Appends an item; answers its index.
    virtual int AddItem(const QString& text, int data) = 0;
    // Selects an item and shows its text; silent sends no notification.
    virtual void SetCurSel(int index, bool silent) = 0;
    virtual QString GetText() const = 0;
    virtual void SetText(const QString& text) = 0;
};
