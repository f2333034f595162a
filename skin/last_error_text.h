#pragma once

#include <QString>

// The calling thread's last system error (errno) as the system words it, cut at the first carriage return;
// "Unknown error code %08x (%d)" with the code twice when the system has no text for it.
void GetLastErrorText(QString& out);
