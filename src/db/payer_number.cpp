#include "db/payer_number.h"

#include "core/session_context.h"
#include "db/database.h"

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

namespace {

// Member numbers compare as numbers: "0000000123" and "123" are one member.
std::string NumericKey(const std::string& text) {
    const auto first = text.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : text.substr(first);
}

}  // namespace

PayerNumberMaker::PayerNumberMaker(Database& db, const SessionContext& s)
    : width_(s.payer_number_length) {
    if (s.cmsinx_style == "N-10") return;
    auto rs = db.OpenRecordset("select cl_meminx, cl_cmsinx from " + s.schema() +
                               ".cmsinx_list order by cl_inx");
    // The first row of a member wins, as the single lookup's "limit 1" does.
    for (std::size_t i = 0; i < rs.size(); ++i) own_.emplace(NumericKey(rs[i][0]), rs[i][1]);
}

std::string PayerNumberMaker::operator()(const std::string& memberNumber) const {
    if (!own_.empty()) {
        auto it = own_.find(NumericKey(memberNumber));
        if (it != own_.end()) return it->second;
    }
    return PadPayerNumber(memberNumber, width_);
}

}  // namespace qx
