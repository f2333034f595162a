#pragma once

#include "net/adwords_result.h"
#include "parsers/se_result.h"

#include <QString>
#include <vector>

class CDownloader_HTMLTags;

// The three search engines kind 2 reads, in the order of its columns.
enum class Project2Engine { Google = 0, Bing = 1, Yahoo = 2 };
inline constexpr int kProject2Engines = 3;

// What kind 2 learnt about one keyword. Numbers are -1 while not fetched and -2 when the service had no
// answer; a value other than -1 is never asked again.
class CProject2_Keyword {
  public:
    // One engine's result page for the keyword.
    struct EngineResults {
        float results = -1.0f;
        int adCount = -1;
        std::vector<CDownloader_Parsers_SE_result> ads;
    };

    void WriteXml(CDownloader_HTMLTags& node) const;
    // The same keys to a SavedTreeWriter or a SavedMarkupWriter.
    template <typename Writer> void Write(Writer& out) const;
    void ReadXml(const CDownloader_HTMLTags* node);

    EngineResults& Engine(Project2Engine engine) { return engines[int(engine)]; }
    const EngineResults& Engine(Project2Engine engine) const { return engines[int(engine)]; }

    QString keyword;
    // The keyword tool's row for the keyword: estimated searches and average cost per click.
    CDownloader_Parsers_Adwords_result tool;
    EngineResults engines[kProject2Engines];
    // Commercial intention in percent.
    float intent = -1.0f;
};
