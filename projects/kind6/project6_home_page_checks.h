#pragma once

#include <QString>

class CDownloader_HTMLTags;

// The tests kinds 6 and 7 run on a site's home page. Both read pages from anywhere, so they only look and
// never trust: a value that is not plainly what it should be counts as not found.

// The ad client of the first content ad unit the page's scripts set up: the value given to an "ad_client"
// variable in a script ("google_ad_client = 'pub-1';"), or a script's or ad unit's "data-ad-client"
// attribute. Empty when there is none.
QString FindAdClient(const QString& pageText, const CDownloader_HTMLTags& page);

// The first mailing-list sign-up form of the page: a FORM with an e-mail input and no password input (that
// would be a sign-in). found tells whether there is one; the answer is its ACTION as written, entities
// decoded (empty: the form posts to the page itself).
QString FindSignUpFormAction(const CDownloader_HTMLTags& page, bool& found);
