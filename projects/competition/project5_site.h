#pragma once

#include "parsers/se_result.h"

#include <QString>
#include <vector>

// The domain of an address as the user types it or an ad shows it: lower case, without a scheme, a leading
// "www.", a path, a port or a trailing dot ("HTTP://www.Example.com:80/a" gives "example.com").
QString SiteOfAddress(const QString& address);

// Whether the address lies on site or on one of its subdomains.
bool AddressOnSite(const QString& address, const QString& site);

// The position of the first ad that shows or links to site, 0 when none does.
int AdPositionOfSite(const std::vector<CDownloader_Parsers_SE_result>& ads, const QString& site);
