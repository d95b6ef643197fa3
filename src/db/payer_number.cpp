#include "db/payer_number.h"

#include "db/database.h"
#include "session/session_context.h"

namespace qx {

std::string PadPayerNumber(const std::string& value, int width) {
    if (width <= 0) return value;
    const auto w = static_cast<std::size_t>(width);
    if (value.size() >= w) return value.substr(value.size() - w);
    return std::string(w - value.size(), '0') + value;
}

std::string TranslatePayerNumber(Database& db, const SessionContext& s, const std::string& value,
                                 PayerNumberMode mode) {
    if (s.cmsinx_style != "N-10") {
        const std::string table = s.schema() + ".cmsinx_list";
        auto rs = mode == PayerNumberMode::Make
                      ? db.OpenRecordset("select cl_cmsinx from " + table +
                                             " where cl_meminx=? order by cl_inx limit 1",
                                         {value})
                      : db.OpenRecordset("select cl_meminx from " + table +
                                             " where cl_cmsinx=? order by cl_inx limit 1",
                                         {value});
        if (!rs.empty()) return rs[0][0];
    }
    return PadPayerNumber(value, s.payer_number_length);
}

}  // namespace qx
