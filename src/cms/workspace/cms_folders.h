// Where CMS files live on this workstation: the exchange folder of each
// file kind (written, sent and received there) and the yearly archive.
#pragma once

#include <string>

namespace qx {

struct SessionContext;

// <system drive>/vornadir/<login id>
std::string ExchangeFolder(const SessionContext& session);
// The exchange folder of one kind ("EB13", "EB22", …).
std::string ExchangeFolder(const SessionContext& session, const std::string& kind);
// <file folder>/<login id>/<kind>/<yyyy>
std::string ArchiveFolder(const SessionContext& session, const std::string& kind,
                          const std::string& yyyy);
// Makes vornadir, vornadir/<login id> and the kind's folder; returns the
// kind's folder.
std::string MakeExchangeFolder(const SessionContext& session, const std::string& kind);

}  // namespace qx
