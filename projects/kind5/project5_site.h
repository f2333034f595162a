#pragma once

#include "parsers/se_result.h"

#include <QString>
#include <vector>

// Whether the address lies on site (a site as SiteOfUrl gives it) or on one of its subdomains.
bool AddressOnSite(const QString& address, const QString& site);

// The position of the first ad that shows or links to site, 0 when none does.
int AdPositionOfSite(const std::vector<CDownloader_Parsers_SE_result>& ads, const QString& site);
