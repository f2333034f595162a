#pragma once

namespace plat {

// Readies the process for the browser engine; runs before the engine starts (the first view). The engine's
// sandbox refuses to run as root (as in CI containers), so for root alone it is switched off.
void PrepareBrowserProcess();

} // namespace plat
