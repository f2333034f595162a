#pragma once

#include <QString>

// The sort column's value of one item, for a report whose CompareItems on that column is exactly CompareInt,
// CompareFloat or a case-sensitive QString::compare. The grid then reads each visible item's key once per
// sort and orders the keys itself instead of asking CompareItems some twenty times per item; the order is the
// same.
struct CSkinListBox_SortKey {
    enum Kind { kNone, kInt, kFloat, kText };
    Kind kind = kNone;
    // As the invert argument of CompareInt and CompareFloat.
    bool invert = false;
    int intValue = 0;
    float floatValue = 0.0f;
    // The text itself, not a copy: it must stay unchanged until the sort is over.
    const QString* text = nullptr;
};
