#pragma once

#include "net/adwords_result.h"
#include "parsers/se_result.h"
#include "projects/common/failed_tasks.h"
#include "projects/common/task_values.h"

#include <QString>
#include <vector>

class CDownloader_HTMLTags;

// The three search engines kind 2 reads, in the order of its columns.
enum class Project2Engine { Google = 0, Bing = 1, Yahoo = 2 };
inline constexpr int kProject2Engines = 3;

// What kind 2 learnt about one keyword. Numbers are not asked while not fetched and no data when the service
// had no answer (task_value); a value other than not asked is not asked again.
class CProject2_Keyword {
  public:
    // One engine's result page for the keyword.
    struct EngineResults {
        float results = task_value::kNotAsked;
        int adCount = task_value::kNotAsked;
        std::vector<CDownloader_Parsers_SE_result> ads;
    };

    void WriteXml(CDownloader_HTMLTags& node) const;
    // The same keys to a SavedTreeWriter or a SavedMarkupWriter.
    template <typename Writer> void Write(Writer& out) const;
    void ReadXml(const CDownloader_HTMLTags* node);

    // The tasks of a keyword, as its failed mark numbers them.
    static constexpr int kToolTask = 0;
    static constexpr int EngineTask(Project2Engine engine) { return 1 + int(engine); }
    static constexpr int kIntentTask = 1 + kProject2Engines;
    static constexpr int kTaskCount = kIntentTask + 1;

    // Turns the failed tasks back into tasks not asked.
    void ForgetFailures();

    EngineResults& Engine(Project2Engine engine) { return engines[int(engine)]; }
    const EngineResults& Engine(Project2Engine engine) const { return engines[int(engine)]; }

    QString keyword;
    // The keyword tool's row for the keyword: estimated searches and average cost per click.
    CDownloader_Parsers_Adwords_result tool;
    EngineResults engines[kProject2Engines];
    // Commercial intention in percent.
    float intent = task_value::kNotAsked;
    CFailedTasks failed;
};
