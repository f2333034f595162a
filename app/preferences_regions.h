#pragma once

#include <QString>
#include <span>

class CSkinDropList;

// The regions and languages the preferences offer for the search services. The full row is what the
// settings store and the request builders read; the drop lists show part of it. A row "-" is a separator.
struct RegionTable {
    // Which part of a row the drop list shows.
    enum class Shown { FromFourth, AfterLastColon };

    std::span<const char16_t* const> rows;
    Shown shown;

    QString ShownText(const char16_t* row) const;
    // Fills list with every row's shown text and selects, without a notification, the first row equal to
    // current, or the first row when none is.
    void FillList(CSkinDropList& list, const QString& current) const;
    // The first row (not a separator) whose shown text is shownText; fallback when none is.
    QString EntryFor(const QString& shownText, const QString& fallback) const;
};

extern const RegionTable kGoogleRegions;
extern const RegionTable kGoogleLanguages;
extern const RegionTable kYahooRegions;
extern const RegionTable kBingRegions;
