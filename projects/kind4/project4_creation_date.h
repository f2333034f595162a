#pragma once

#include <QString>

// A whois creation date as the whois parser gives it (year x 10000 + month x 100 + day, or day x 10000 +
// month x 100 + a two-digit year) as one comparable date, yyyymmdd; 0 when it is none or no real date. A
// two-digit year below 70 is taken as 20xx, as registrations are no older than that.
int Project4CreationYmd(int parsed);

// The date as "yyyy-mm-dd"; empty when there is none.
QString Project4CreationText(int parsed);
