// The record of the running session: who is logged in, for which institution,
// and the switches read at login. Every screen and operation reads it.
#pragma once

#include <array>
#include <string>

namespace qx {

inline constexpr const char* kProgramVersion = "26020315";

// Positions of the desktop switches held in memory (1 = on, 0 = off).
enum PrgStat : int {
    kTolvexOpen = 0,
    kAutoLogin = 1,
    kOpenFileMain = 2,
    kAllPayMain = 3,
    kMonthView = 4,
    kDevidePay = 5,
    // 1 when the institution does NOT use items on registration and change
    // (position 15 of cms_set is not '1'); set at login and by the settings
    // screen, not from Login.ini.
    kItemsUnused = 6,
};

struct CodeCaseSql {
    std::string branch_name, agency_name, settle_accounts, cms_status, account_divide, p_tax,
        bank_name;
};

// The four CMS summary figures of the main window, in whole won.
struct CmsSummary {
    long long regular_outstanding = 0;
    long long arrears_outstanding = 0;
    long long sales_to_book = 0;
    long long expected_monthly_sales = 0;
};

struct SessionContext {
    std::string AppPath;  // program folder, ends with '/'
    std::string ProgramVersion = kProgramVersion;
    std::string SystemDrive;  // folder standing in for the Windows system drive, ends with '/'

    std::string LoginId, LoginPassword;
    std::string head_office_id;  // admin_company.id (perid for branch and agency users)
    std::string inx;             // institution number as text; schema is tps_<inx>
    long long institution_number = 0;
    long long brinx = 0;
    long long aginx = 0;
    std::string company;
    std::string org_code;
    std::string company_number;  // '-' removed
    std::string stat_company;
    int cmsrunprg = 0;
    std::string TOLVEX_abled;
    int alter_db_structure = 0;
    std::string cash_receipt_use;
    std::string cmsinx_style = "N-10";
    std::string fast_sel_use;
    std::string installment_chk_use;
    std::string giro_account, phn_account;
    std::string credit_id, credit_pw, credit_bank_code, credit_account, credit_month_out_limit;
    std::string add_in_code;  // first 8 characters of trim(add_info6), blank-padded
    long long month_max = 0;
    bool account_phone_switch = false;
    bool bank_receipt_switch = false;
    bool virtual_account_switch = false;
    bool month_divide_switch = false;
    int prgset9 = 0;  // member-screen setting, position 10 of cms_set
    bool agreement_evidence_switch = false;
    int payer_number_length = 10;
    std::string client_ip;

    bool launched_with_credentials = false;
    std::string relay_prefix = "bank";

    // Login.ini switches, see PrgStat.
    std::array<int, 7> prgstat{1, 0, 0, 1, 1, 1, 1};
    std::string fileback_folder, excel_folder, tolvex_folder, nolabill_folder;
    int fixing_columns = 2;

    // Server clock as read after login.
    std::string server_date;                                           // yy-mm-dd
    std::string server_datetime;                                       // yy-mm-dd hh:nn:ss
    std::string month_current, month_previous, month_before_previous;  // yy-mm

    CodeCaseSql case_sql;
    std::string cash_receipt_code = "999";
    std::string receipt_code = "998";
    std::string service_site;  // web address used by the main window's links
    CmsSummary cms_summary;    // as computed at login or on the summary button

    bool isHeadOffice() const { return brinx == 0; }
    bool isBranch() const { return brinx > 0 && aginx == 0; }
    bool isAgency() const { return aginx > 0; }
    std::string schema() const { return "tps_" + std::to_string(institution_number); }
    // Main-window caption shown after login.
    std::string caption() const;
};

}  // namespace qx
