#pragma once

#include <QString>

// What one multi-step exchange of a service (sign-in, picture code, form posts) keeps between the ticks that
// carry it: the caller's texts and the pool index of the downloader it runs on. One run per service at a
// time; a project that starts a run while another project's run is open takes it over.
class ServiceRunState {
  public:
    // Called by the service's start operation at the top of every step, with the downloader's pool index
    // and step (its first tag value) and the caller's texts. A run that has not begun (step below 1) or that
    // runs on another downloader is a new run and takes the texts given now, so an abandoned run never
    // lends its keywords or account to the next one; a run under way keeps the texts it began with.
    // Returns true when a new run began.
    bool BeginStep(int downloaderIndex, int step, const QString& user, const QString& password,
                   const QString& keywords);
    // The run is over: the next step begins a new one.
    void EndRun() { m_downloaderIndex = -1; }

    QString m_user;
    QString m_password;
    QString m_keywords;
    // Pool index of the downloader that carries the run; -1 no run.
    int m_downloaderIndex = -1;
};

// The keyword-tool exchange.
class GoogleParserState : public ServiceRunState {
  public:
    // The picture code the user typed, "#retry_me#" when a new picture was asked for; it outlives the run
    // and goes with every later run until the tool rejects it.
    QString m_captchaAnswer;
    // Maximum cost per click for the next request only; -1.0 none.
    float m_maxCpc = -1.0f;
    // The picture-code prompt is open: its modal run lets timers of other dialogs step, and a step of the
    // exchange begun inside it would work on the state the prompt's own step is about to change.
    bool m_promptOpen = false;
};

// The Search Marketing keyword suggestion exchange.
class YahooParserState : public ServiceRunState {};

// The ad service's keyword research exchange and the commercial-intention queries.
class BingParserState : public ServiceRunState {
  public:
    // As the base; a new run also forgets the previous run's sign-in token and research form.
    bool BeginStep(int downloaderIndex, int step, const QString& user, const QString& password,
                   const QString& keywords);

    // The sign-in page's "JPGUID" value.
    QString m_loginToken;
    // The query of the last commercial-intention request.
    QString m_intentQuery;
    // The research page's form body, with "%%SEArCH%%" where the keywords go.
    QString m_researchForm;
    // The hidden fields of the last commercial-intention reply, in form-body form.
    QString m_intentForm;
    // Posts sent for m_intentQuery: the page answers a new query on the second post, so a third reply that
    // still shows another query will not answer at all.
    int m_intentPosts = 0;
};

// The request states of the three search engines' multi-step services.
class SearchParsersState {
  public:
    GoogleParserState m_google;
    YahooParserState m_yahoo;
    BingParserState m_bing;
};

extern SearchParsersState g_searchParsers;
