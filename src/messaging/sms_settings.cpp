#include "messaging/sms_settings.h"

#include "core/session_context.h"
#include "db/database.h"
#include "platform/profile_ini.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

// The table and key of the user's own level; the key is a number of the session.
std::string LevelRow(const SessionContext& s, SqlParams& params) {
    if (s.isAgency()) {
        params.emplace_back(s.aginx);
        return "quorisdex.company_agency where aginx=?";
    }
    if (s.isBranch()) {
        params.emplace_back(s.brinx);
        return "quorisdex.company_branch where brinx=?";
    }
    params.emplace_back(s.institution_number);
    return "quorisdex.admin_company where inx=?";
}

}  // namespace

SmsSettings LoadSmsSettings(Database& db, const SessionContext& s, const ProfileIni& ini) {
    SmsSettings settings;
    SqlParams params;
    const std::string row = LevelRow(s, params);
    const Recordset rs = db.OpenRecordset(
        "select ifnull(sendphone,'') sendphone, ifnull(sendname,'') sendname from " + row, params);
    settings.sender.SendPhone = rs.empty() ? "" : Trim(rs[0]["sendphone"]);
    settings.sender.SendName = rs.empty() ? "" : Trim(rs[0]["sendname"]);

    for (int i = 0; i < kTemplateCount; ++i) {
        const std::string key = "MSG" + std::to_string(i);
        std::string text = ini.read("SMS", key, "");
        if (text.empty()) {
            text = DefaultSmsTemplates()[static_cast<std::size_t>(i)];
            ini.write("SMS", key, text);
        }
        settings.templates[static_cast<std::size_t>(i)] = NormaliseTemplate(text);
    }
    return settings;
}

bool SaveSenderSettings(Database& db, const SessionContext& s, SmsSender& sender,
                        const std::string& phone, const std::string& name, Interaction& ui) {
    const std::string p = Trim(phone), n = Trim(name);
    if (!p.empty() && (!IsDigitsAndDash(p) || !IsAllDigits(WithoutDashes(p)))) {
        ui.inform(kBadSenderNumberText, kDefaultTitle);
        return false;
    }
    if (!IsStorableText(n)) {
        ui.inform(UnstorableTextMessage("발신자명"), kDefaultTitle);
        return false;
    }
    SqlParams params{p, n};
    const std::string row = LevelRow(s, params);
    db.ExecuteSql("update " + row.substr(0, row.find(" where")) + " set sendphone=?, sendname=?" +
                      row.substr(row.find(" where")),
                  params);
    sender.SendPhone = p;
    sender.SendName = n;
    return true;
}

std::string SenderDisplayName(const SessionContext& s, const SmsSender& sender) {
    return sender.SendName.empty() ? s.company : sender.SendName;
}

}  // namespace qx
