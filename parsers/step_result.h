#pragma once

namespace CDownloader_Parsers {

// What one step of a service that runs several requests on one downloader (sign-in, picture code, the
// request itself) tells its caller. The step itself lives in the downloader's first tag.
enum class StepResult : int {
    Running = 1, // the run goes on: call again on a later tick, keeping the downloader
    ReplyIn = 2, // the reply is in the downloader for the parser (or the user ended the run)
};

} // namespace CDownloader_Parsers
