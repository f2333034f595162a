#include "parsers/search_parsers_state.h"

SearchParsersState g_searchParsers;

bool ServiceRunState::BeginStep(int downloaderIndex, int step, const QString& user, const QString& password,
                                const QString& keywords) {
    if (step >= 1 && downloaderIndex == m_downloaderIndex)
        return false;
    m_downloaderIndex = downloaderIndex;
    m_user = user;
    m_password = password;
    m_keywords = keywords;
    return true;
}

bool BingParserState::BeginStep(int downloaderIndex, int step, const QString& user, const QString& password,
                                const QString& keywords) {
    if (!ServiceRunState::BeginStep(downloaderIndex, step, user, password, keywords))
        return false;
    m_loginToken.clear();
    m_researchForm.clear();
    return true;
}
