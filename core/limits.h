#pragma once

// Every bound the system puts on outside input, in one place, each with the reason for its size.

#include <cstddef>
#include <cstdint>

namespace limits {

// Saved files nest a few levels; deeper trees (hostile pages written back out) keep this indentation so the
// text grows linearly with the node count.
inline constexpr int kMaxIndentDepth = 32;

// A site needs a few cookies per domain; more than this is a page filling the jar, so the oldest give way.
inline constexpr int kMaxCookiesPerDomain = 50;

// The jar lives for the whole run and is searched on every request; this keeps it small and fast.
inline constexpr int kMaxCookiesTotal = 3000;

// Browsers keep cookies up to 4096 bytes; a longer name=value is junk and is not stored.
inline constexpr int kMaxCookieTextLength = 4096;

// Each download slot is a thread with its own buffers; beyond this more threads only get pages refused.
inline constexpr int kMaxThreadCount = 64;

// The pool holds the thread count and four slots for dialogs; each slot has at most one worker-status row.
inline constexpr int kMaxPoolSlots = kMaxThreadCount + 4;

// At least one slot, or no project could fetch anything.
inline constexpr int kMinThreadCount = 1;

// An hour between two requests to one service is already far beyond any useful pacing gap.
inline constexpr int kMaxCourtesySeconds = 3600;

// The largest page the system reads is a few megabytes; a reply beyond this is dropped, not buffered.
inline constexpr int kMaxResponseBytes = 64 * 1024 * 1024;

// A slot keeps the storage of its last reply for the next one when it is no larger than this: most pages
// fit. A larger one is kept only for kKeptLargeReceiveBufferMs after its taker is done with it.
inline constexpr int kKeptReceiveBufferBytes = 1024 * 1024;

// How long a slot keeps the storage of a large reply after its taker is done with it: long enough for the
// next job of a run of large downloads (the project tick starts jobs every half second) to receive into
// memory that is mapped already, which costs a quarter of a download's time when made afresh; short enough
// that a slot that once took a large download does not hold on to its memory.
inline constexpr int kKeptLargeReceiveBufferMs = 2000;

// A compressed body may not inflate beyond this: a small reply must not be able to fill the memory.
inline constexpr int kMaxInflatedBytes = 64 * 1024 * 1024;

// The header block is looked for in this many bytes only; a longer one is no header (the reply is all body).
inline constexpr int kHeaderSearchBytes = 32768;

// A reply's header block is a few hundred bytes that servers send at once; one still incomplete this long
// after connecting comes from a server holding the download slot (one header line at a time, for ever).
inline constexpr int kHeaderDeadlineMs = 30 * 1000;

// After the header, a reply that brings fewer than kSlowReplyMinBytes in any kSlowReplyWindowMs ends: a page
// arriving at a quarter of a kilobyte a second would hold its slot for hours (each read has its own
// time-out).
inline constexpr int kSlowReplyWindowMs = 60 * 1000;
inline constexpr int kSlowReplyMinBytes = 16 * 1024;

// One exchange (a page or a whois reply) ends this long after connecting, however steadily its bytes come:
// the rate floor above still lets a reply drip for days before the size cap. Real pages take seconds; the
// update installer, which can take longer, is bounded by its dialog instead (it shows progress and cancels).
inline constexpr int kExchangeDeadlineMs = 5 * 60 * 1000;

// Nodes one fetched page may become: the largest result pages make a few ten thousand, while a small
// compressed reply can inflate to millions of tags at about 130 bytes of memory each. Files of the program's
// own are never cut (a saved 100,000-row project is 3.3 million nodes).
inline constexpr int kMaxPageNodes = 500000;

// Redirects one download follows at most, whatever budget its caller gives (real chains have one or two).
inline constexpr int kMaxRedirectsFollowed = 10;

// Whois referrals one lookup follows at most: a registry refers once, to the registrar; a longer chain is
// servers sending the client round, and each hop is another connection.
inline constexpr int kMaxWhoisReferrals = 4;

// The largest file read whole (settings, projects, the monitoring list): the program's own files of
// 100,000 rows are some tens of megabytes; a larger one is not ours, and parsed it would fill the memory.
inline constexpr std::int64_t kMaxReadFileBytes = 512LL * 1024 * 1024;

} // namespace limits
