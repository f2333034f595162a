#pragma once

#include "projects/kind4/project4_data.h"

#include <QString>

class CDownloader;

// How a run asks the services of one keyword or one site: the pool's pacing name, the request for a task
// and the reading of its finished reply into the records. The keyword tool, a run of several steps over all
// keywords at once, is the project's own.
namespace project4_services {

QString PacingName(Project4Request request);
// The service as its errors name it, and what task asks it about (keywords or a site).
QString ServiceName(Project4Request request);
QString Subject(Project4Request request, const CProject4_Data& data, int task);
// Starts the request for task (a keyword or a site index); false when the downloader would not start.
bool Start(Project4Request request, CDownloader& downloader, const CProject4_Data& data, int task);
// Reads the finished downloader into the records; a reply without the value stores the no-data value.
void Store(Project4Request request, const CDownloader& downloader, CProject4_Data& data, int task);

} // namespace project4_services
