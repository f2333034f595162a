#pragma once

#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_drop_list.h"
#include "skin/skin_edit.h"
#include "skin/skin_label.h"
#include "skin/skin_radio.h"
#include "skin/skin_slider.h"

#include <QString>
#include <array>
#include <initializer_list>
#include <memory>
#include <vector>

struct RegionTable;

// The program's settings on five panels chosen by tabs on the left: threads and pacing, the search
// services' regions and accounts, and the ad units of the content pages. The controls are filled from the
// crawler as the dialog is built and written back into it on SAVE (ending with 1); CANCEL saves the
// settings as they were and ends with 2. Whoever opened it saves the settings afterwards.
class CPreferencesDlg : public CSkinDlg {
  public:
    // firstPanel: the panel shown when the dialog opens; one that does not exist shows the first.
    explicit CPreferencesDlg(CSkinDlg_Base* parent, int firstPanel = 0);
    ~CPreferencesDlg() override;

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;
    void DrawBackground(plat::DeviceContext& dc) override;

    static constexpr int kPanelCount = 5;
    // The two outside keyword-research pages the dialog can open: a free suggestion tool through a partner
    // link, and a second keyword service's home page.
    static inline const QString kSuggestionToolUrl =
        QStringLiteral("https://free-suggestions.example/keywords?partner=tarnwick");
    static inline const QString kKeywordServiceUrl = QStringLiteral("https://keyword-service.example/");
    static constexpr int kColorCount = 5;

    // The two fields of one ad-service account.
    struct Account {
        CSkinEdit user;
        CSkinEdit password;
    };

    std::vector<std::unique_ptr<CSkinLabel>> m_labels;
    std::array<CSkinButton, kPanelCount> m_tabs;
    std::array<CSkinDlgHolder, kPanelCount> m_panels;
    CSkinSlider m_threads;
    CSkinRadio m_courtesy;
    CSkinRadio m_articleCourtesy;
    CSkinRadio m_autorun;
    CSkinEdit m_courtesyMin;
    CSkinEdit m_courtesyMax;
    CSkinEdit m_articleCourtesyMin;
    CSkinEdit m_articleCourtesyMax;
    Account m_google;
    Account m_yahoo;
    Account m_msn;
    CSkinDropList m_googleRegion;
    CSkinDropList m_googleLanguage;
    CSkinDropList m_yahooRegion;
    CSkinDropList m_bingRegion;
    CSkinEdit m_adsenseClient;
    CSkinEdit m_adsenseChannel;
    std::array<CSkinEdit, kColorCount> m_colors;
    std::array<CSkinButton, kColorCount> m_colorButtons;
    CSkinButton m_cancelButton;
    CSkinButton m_saveButton;
    int m_firstPanel = 0;

  private:
    CSkinLabel& AddLabel(CSkinDlgHolder& panel, const QString& text, int x, int y);
    void CreateGeneralPanel();
    void CreateGooglePanel();
    // The panel of a search service with one region list and an account.
    void CreateServicePanel(CSkinDlgHolder& panel, CSkinDropList& list, const RegionTable& table,
                            const QString& current, const QString& caption, int x, int width,
                            const QString& service, Account& account, const QString& user,
                            const QString& password);
    void CreatePublisherPanel();
    // The account of service: a heading at top, a note and the two fields.
    void CreateAccountFields(CSkinDlgHolder& panel, const QString& service, Account& account,
                             const QString& user, const QString& password, int top);
    // x, or further right where a caption would reach it.
    int ListLeft(int x, std::initializer_list<QString> captions);
    // A list filled from table with current chosen, and its caption.
    void CreateRegionList(CSkinDlgHolder& panel, CSkinDropList& list, const RegionTable& table,
                          const QString& current, const QString& caption, int x, int y, int width);
    void CreatePacingRow(CSkinDlgHolder& panel, CSkinRadio& box, const QString& caption, bool checked,
                         CSkinEdit& min, int minSeconds, CSkinEdit& max, int maxSeconds, int y);
    void UpdateChecks();
    void ShowPanel(int panel);
    void EditColor(int index);
    // The one place the dialog opens a page: in the browser, without the dialog waiting for it.
    static void OpenOutsidePage(const QString& url);
    // False, with the reason shown, when the choices cannot be stored.
    bool Save();
};
