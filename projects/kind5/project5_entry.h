#pragma once

#include "core/packed_minutes.h"
#include "projects/common/failed_tasks.h"
#include "projects/common/task_values.h"

#include <QDate>
#include <QString>
#include <vector>

class CDownloader_HTMLTags;

// One check of a monitored pair: when it ran and where the site's ad stood on each engine.
struct CProject5_Check {
    // Position of the site's ad: 1 and up, 0 not shown, or no data (task_value) when the engine's page told
    // nothing.
    static constexpr int kNotShown = 0;
    static constexpr int kEngineCount = 3;

    // Packed minutes, local time.
    int m_date = 0;
    // Google, Bing, Yahoo.
    int m_positions[kEngineCount] = {task_value::kNoData, task_value::kNoData, task_value::kNoData};
    // The engines whose request failed (numbered as m_positions); the next check asks them again.
    CFailedTasks m_failed;

    QDate Day() const;
    void WriteXml(CDownloader_HTMLTags& node) const;
    // False when the check lost an end tag: a value of it holds elements, or it holds the next check.
    bool ReadXml(const CDownloader_HTMLTags& node);
};

// One monitored (keyword, site) pair with its dated checks, oldest first.
struct CProject5_Entry {
    // The list's element for one pair.
    static inline const QString kElementName = QStringLiteral("entry");

    QString m_keyword;
    // A bare domain in lower case, as SiteOfUrl gives it.
    QString m_site;
    std::vector<CProject5_Check> m_checks;

    // The newest check, or null before the first.
    const CProject5_Check* LastCheck() const;
    // The last check made on day, or null when none was.
    const CProject5_Check* LastCheckOn(const PackedMinutesDay& day) const;
    // Orders pairs by site, then by keyword in any letter case; 0 exactly when both are the same pair.
    int ComparePair(const CProject5_Entry& other) const;

    void WriteXml(CDownloader_HTMLTags& node) const;
    // False when the node is no whole pair: it names no keyword or no site, it or one of its checks lost an
    // end tag, or it holds the next entry.
    bool ReadXml(const CDownloader_HTMLTags& node);
};
