#pragma once

#include "net/adwords_result.h"

#include <QString>

class CDownloader_HTMLTags;

// One keyword of a kind-1 run: every source that named it and the figures they gave. Rows of all sources
// meet here by the case-folded keyword, so a keyword shows once whatever its spelling.
class CProject1_Keyword {
  public:
    // The sources, as bits of m_sources; their order is also the order they are named in.
    enum Source {
        kKeywordTool = 1,
        kFreeSuggestions = 2,
        kAsk = 4,
        kSearchMarketing = 8,
        kKeywordResearch = 16,
    };
    static constexpr int kSourceCount = 5;

    // The key the rows of one keyword share.
    static QString KeyOf(const QString& keyword);
    static QString SourceName(int source);

    // Adds what a source says of this keyword. The spelling shown and the figures come from the most trusted
    // source that gave any (keyword tool, keyword research, Search Marketing, free suggestions); a less
    // trusted source only fills figures still missing. Match types of the keyword tool add up.
    void Merge(const CDownloader_Parsers_Adwords_result& row, int source);

    // Monthly searches as the report sorts them, or a task_value: not known, or no figure from the source.
    int Searches() const;
    // "Keyword tool, Ask", in source order.
    QString SourcesText() const;
    // "Broad, Phrase, Exact" as far as the keyword tool named them; empty when none.
    QString MatchTypeText() const;
    // The twelve monthly values for the mini chart (none as 0), or "No Data" when no month is known.
    QString TrendText() const;

    void WriteXml(CDownloader_HTMLTags& node) const;
    void ReadXml(const CDownloader_HTMLTags* node);

    // The keyword and its figures; keywordType holds the match-type bits seen.
    CDownloader_Parsers_Adwords_result m_row;
    int m_sources = 0;
    // The source whose figures the row holds; 0 none yet.
    int m_figuresFrom = 0;
};
