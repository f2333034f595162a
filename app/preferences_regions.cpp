#include "app/preferences_regions.h"

#include "skin/skin_drop_list.h"

using namespace Qt::StringLiterals;

namespace {

// Each row is a code, "_" and the name as the search service spells it.
// clang-format off
constexpr const char16_t* kGoogleRegionRows[] = {
    u"* _All Countries and Territories", u"-", u"AU_Australia", u"AT_Austria", u"BE_Belgium", u"BR_Brazil",
    u"CA_Canada", u"CN_China", u"DK_Denmark", u"FI_Finland", u"FR_France", u"DE_Germany", u"HK_Hong Kong",
    u"IT_Italy", u"JP_Japan", u"NL_Netherlands", u"NO_Norway", u"PT_Portugal", u"SG_Singapore", u"KR_South Korea",
    u"ES_Spain", u"SE_Sweden", u"CH_Switzerland", u"TW_Taiwan", u"GB_United Kingdom", u"US_United States", u"-",
    u"AF_Afghanistan", u"AL_Albania", u"DZ_Algeria", u"AS_American Samoa", u"AD_Andorra", u"AO_Angola",
    u"AI_Anguilla", u"AQ_Antarctica", u"AG_Antigua and Barbuda", u"AR_Argentina", u"AM_Armenia", u"AW_Aruba",
    u"AU_Australia", u"AT_Austria", u"AZ_Azerbaijan", u"BS_Bahamas", u"BH_Bahrain", u"BD_Bangladesh",
    u"BB_Barbados", u"BY_Belarus", u"BE_Belgium", u"BZ_Belize", u"BJ_Benin", u"BM_Bermuda", u"BT_Bhutan",
    u"BO_Bolivia", u"BA_Bosnia and Herzegovina", u"BW_Botswana", u"BV_Bouvet Island", u"BR_Brazil",
    u"IO_British Indian Ocean Territory", u"BN_Brunei Darussalam", u"BG_Bulgaria", u"BF_Burkina Faso",
    u"BI_Burundi", u"KH_Cambodia", u"CM_Cameroon", u"CA_Canada", u"CV_Cape Verde", u"KY_Cayman Islands",
    u"CF_Central African Republic", u"TD_Chad", u"CL_Chile", u"CN_China", u"CX_Christmas Island",
    u"CC_Cocos (Keeling) Islands", u"CO_Colombia", u"KM_Comoros", u"CG_Congo", u"CD_Congo, Democratic Republic",
    u"CK_Cook Islands", u"CR_Costa Rica", u"CI_Cote d'Ivoire", u"HR_Croatia", u"CU_Cuba", u"CY_Cyprus",
    u"CZ_Czech Republic", u"DK_Denmark", u"DJ_Djibouti", u"DM_Dominica", u"DO_Dominican Republic", u"TL_East Timor",
    u"EC_Ecuador", u"EG_Egypt", u"SV_El Salvador", u"GQ_Equatorial Guinea", u"ER_Eritrea", u"EE_Estonia",
    u"ET_Ethiopia", u"FK_Falkland Islands (Malvinas)", u"FO_Faroe Islands", u"FJ_Fiji", u"FI_Finland", u"FR_France",
    u"GF_French Guiana", u"PF_French Polynesia", u"TF_French Southern Territories", u"GA_Gabon", u"GM_Gambia",
    u"GE_Georgia", u"DE_Germany", u"GH_Ghana", u"GI_Gibraltar", u"GR_Greece", u"GL_Greenland", u"GD_Grenada",
    u"GP_Guadeloupe", u"GU_Guam", u"GT_Guatemala", u"GN_Guinea", u"GW_Guinea-Bissau", u"GY_Guyana", u"HT_Haiti",
    u"HM_Heard and McDonald Islands", u"HN_Honduras", u"HK_Hong Kong", u"HU_Hungary", u"IS_Iceland", u"IN_India",
    u"ID_Indonesia", u"IR_Iran", u"IQ_Iraq", u"IE_Ireland", u"IL_Israel", u"IT_Italy", u"JM_Jamaica", u"JP_Japan",
    u"JO_Jordan", u"KZ_Kazakhstan", u"KE_Kenya", u"KI_Kiribati", u"KW_Kuwait", u"KG_Kyrgyzstan",
    u"LA_Lao People's Democratic Republic", u"LV_Latvia", u"LB_Lebanon", u"LS_Lesotho", u"LR_Liberia", u"LY_Libya",
    u"LI_Liechtenstein", u"LT_Lithuania", u"LU_Luxembourg", u"MO_Macau", u"MK_Macedonia", u"MG_Madagascar",
    u"MW_Malawi", u"MY_Malaysia", u"MV_Maldives", u"ML_Mali", u"MT_Malta", u"MH_Marshall Islands", u"MQ_Martinique",
    u"MR_Mauritania", u"MU_Mauritius", u"YT_Mayotte", u"MX_Mexico", u"FM_Micronesia", u"MD_Moldova", u"MC_Monaco",
    u"MN_Mongolia", u"MS_Montserrat", u"MA_Morocco", u"MZ_Mozambique", u"MM_Myanmar", u"NA_Namibia", u"NR_Nauru",
    u"NP_Nepal", u"NL_Netherlands", u"AN_Netherlands Antilles", u"NC_New Caledonia", u"NZ_New Zealand",
    u"NI_Nicaragua", u"NE_Niger", u"NG_Nigeria", u"NU_Niue", u"NF_Norfolk Island", u"MP_Northern Mariana Islands",
    u"KP_North Korea", u"NO_Norway", u"OM_Oman", u"PK_Pakistan", u"PW_Palau", u"PS_Palestinian Territory",
    u"PA_Panama", u"PG_Papua New Guinea", u"PY_Paraguay", u"PE_Peru", u"PH_Philippines", u"PN_Pitcairn",
    u"PL_Poland", u"PT_Portugal", u"PR_Puerto Rico", u"QA_Qatar", u"RE_Reunion", u"RO_Romania",
    u"RU_Russian Federation", u"RW_Rwanda", u"KN_Saint Kitts and Nevis", u"LC_Saint Lucia",
    u"VC_Saint Vincent and the Grenadines", u"WS_Samoa", u"SM_San Marino", u"ST_Sao Tome and Principe",
    u"SA_Saudi Arabia", u"SN_Senegal", u"CS_Serbia and Montenegro", u"SC_Seychelles", u"SL_Sierra Leone",
    u"SG_Singapore", u"SK_Slovakia", u"SI_Slovenia", u"SB_Solomon Islands", u"SO_Somalia", u"ZA_South Africa",
    u"GS_South Georgia and The South Sandwich Islands", u"KR_South Korea", u"ES_Spain", u"LK_Sri Lanka",
    u"SH_St. Helena", u"PM_St. Pierre and Miquelon", u"SD_Sudan", u"SR_Suriname",
    u"SJ_Svalbard and Jan Mayen Islands", u"SZ_Swaziland", u"SE_Sweden", u"CH_Switzerland", u"SY_Syria",
    u"TW_Taiwan", u"TJ_Tajikistan", u"TZ_Tanzania", u"TH_Thailand", u"TG_Togo", u"TK_Tokelau", u"TO_Tonga",
    u"TT_Trinidad and Tobago", u"TN_Tunisia", u"TR_Turkey", u"TM_Turkmenistan", u"TC_Turks and Caicos Islands",
    u"TV_Tuvalu", u"UG_Uganda", u"UA_Ukraine", u"AE_United Arab Emirates", u"GB_United Kingdom",
    u"US_United States", u"UM_United States Minor Outlying Islands", u"UY_Uruguay", u"UZ_Uzbekistan", u"VU_Vanuatu",
    u"VA_Vatican", u"VE_Venezuela", u"VN_Viet Nam", u"VG_Virgin Islands (British)", u"VI_Virgin Islands (U.S.)",
    u"WF_Wallis and Futuna Islands", u"EH_Western Sahara", u"YE_Yemen", u"ZM_Zambia", u"ZW_Zimbabwe",
};
// clang-format on

// Language code, ";" and name.
// clang-format off
constexpr const char16_t* kGoogleLanguageRows[] = {
    u"en;English", u"zh_CN;Chinese (simplified)", u"zh_TW;Chinese (traditional)", u"da;Danish", u"nl;Dutch",
    u"fi;Finnish", u"fr;French", u"de;German", u"it;Italian", u"ja;Japanese", u"ko;Korean", u"no;Norwegian",
    u"ru;Russian", u"es;Spanish", u"sv;Swedish", u"-", u"ar;Arabic", u"bg;Bulgarian", u"ca;Catalan",
    u"zh_CN;Chinese (simplified)", u"zh_TW;Chinese (traditional)", u"hr;Croatian", u"cs;Czech", u"da;Danish",
    u"nl;Dutch", u"en;English", u"et;Estonian", u"fi;Finnish", u"fr;French", u"de;German", u"el;Greek",
    u"iw;Hebrew", u"hi;Hindi", u"hu;Hungarian", u"is;Icelandic", u"id;Indonesian", u"it;Italian", u"ja;Japanese",
    u"ko;Korean", u"lv;Latvian", u"lt;Lithuanian", u"no;Norwegian", u"pl;Polish", u"pt;Portuguese", u"ro;Romanian",
    u"ru;Russian", u"sr;Serbian", u"sk;Slovak", u"sl;Slovenian", u"es;Spanish", u"sv;Swedish", u"tl;Tagalog",
    u"th;Thai", u"tr;Turkish", u"uk;Ukrainian", u"ur;Urdu", u"vi;Vietnamese",
};
// clang-format on

// clang-format off
constexpr const char16_t* kYahooRegionRows[] = {
    u"US_United States", u"-", u"AU_Australia", u"AT_Austria", u"BR_Brazil", u"CA_Canada", u"DK_Denmark",
    u"FI_Finland", u"FR_France", u"DE_Germany", u"HK_Hong Kong", u"IT_Italy", u"JP_Japan", u"KR_Korea",
    u"MX_Mexico", u"NL_The Netherlands", u"NO_Norway", u"ES_Spain", u"SE_Sweden", u"CH_Switzerland", u"TW_Taiwan",
    u"UK_United Kingdom",
};
// clang-format on

// Market number, locale and name, separated by ":".
// clang-format off
constexpr const char16_t* kBingRegionRows[] = {
    u"65:ar-XA:Arabian countries - Arabic", u"84:en-XA:Arabian countries - English", u"86:es-AR:Argentina",
    u"73:en-AU:Australia", u"69:de-AT:Austria", u"106:nl-BE:Belgium - Dutch", u"94:fr-BE:Belgium - French",
    u"110:pt-BR:Brazil", u"66:bg-BG:Bulgaria", u"74:en-CA:Canada - English", u"95:fr-CA:Canada - French",
    u"87:es-CL:Chile", u"99:hr-HR:Croatia", u"67:cs-CZ:Czech Republic", u"68:da-DK:Denmark", u"92:et-EE:Estonia",
    u"93:fi-FI:Finland", u"97:fr-FR:France", u"71:de-DE:Germany", u"72:el-GR:Greece", u"121:zh-HK:Hong Kong S.A.R.",
    u"100:hu-HU:Hungary", u"78:en-IN:India", u"76:en-ID:Indonesia", u"77:en-IE:Ireland", u"98:he-IL:Israel",
    u"101:it-IT:Italy", u"102:ja-JP:Japan", u"103:ko-KR:Korea", u"91:es-XL:Latin America", u"105:lv-LV:Latvia",
    u"104:lt-LT:Lithuania", u"79:en-MY:Malaysia", u"89:es-MX:Mexico", u"107:nl-NL:Netherlands",
    u"80:en-NZ:New Zealand", u"108:nb-NO:Norway", u"120:zh-CN:People's Republic of China", u"109:pl-PL:Poland",
    u"111:pt-PT:Portugal", u"81:en-PH:Republic of the Philippines", u"112:ro-RO:Romania", u"113:ru-RU:Russia",
    u"82:en-SG:Singapore", u"114:sk-SK:Slovakia", u"115:sl-SI:Slovenia", u"85:en-ZA:South Africa",
    u"88:es-ES:Spain", u"116:sv-SE:Sweden", u"96:fr-CH:Switzerland - French", u"70:de-CH:Switzerland - German",
    u"122:zh-TW:Taiwan", u"117:th-TH:Thailand", u"118:tr-TR:Turkey", u"119:uk-UA:Ukraine",
    u"75:en-GB:United Kingdom", u"83:en-US:United States - English", u"90:es-US:United States - Spanish",
};
// clang-format on

static_assert(std::size(kGoogleRegionRows) == 266 && std::size(kGoogleLanguageRows) == 57 &&
              std::size(kYahooRegionRows) == 22 && std::size(kBingRegionRows) == 58);

constexpr char16_t kSeparatorRow[] = u"-";
// What a separator row shows in a drop list.
constexpr char16_t kSeparatorItem[] = u"-----------------------------";

bool IsSeparator(const char16_t* row) {
    return QStringView(row) == QStringView(kSeparatorRow);
}

} // namespace

const RegionTable kGoogleRegions{kGoogleRegionRows, RegionTable::Shown::FromFourth};
const RegionTable kGoogleLanguages{kGoogleLanguageRows, RegionTable::Shown::FromFourth};
const RegionTable kYahooRegions{kYahooRegionRows, RegionTable::Shown::FromFourth};
const RegionTable kBingRegions{kBingRegionRows, RegionTable::Shown::AfterLastColon};

QString RegionTable::ShownText(const char16_t* row) const {
    if (IsSeparator(row))
        return QString::fromUtf16(kSeparatorItem);
    const QString entry = QString::fromUtf16(row);
    return shown == Shown::FromFourth ? entry.mid(3) : entry.sliced(entry.lastIndexOf(u':') + 1);
}

void RegionTable::FillList(CSkinDropList& list, const QString& current) const {
    list.ResetContent();
    int chosen = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        list.AddItem(ShownText(rows[i]), 0);
        if (chosen == 0 && current == QStringView(rows[i]))
            chosen = int(i);
    }
    list.SetCurSel(chosen, true);
}

QString RegionTable::EntryFor(const QString& shownText, const QString& fallback) const {
    for (const char16_t* row : rows)
        if (!IsSeparator(row) && ShownText(row) == shownText)
            return QString::fromUtf16(row);
    return fallback;
}
