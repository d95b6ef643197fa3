// The member filter of the batch screens: branch, agency, person in charge,
// collection method, sales kind, sales day, free fields 1-3 and CMS or other
// members, each a drop-down of the values the member list offers.
#pragma once

#include <QWidget>
#include <map>
#include <set>
#include <string>

#include "ledger/batch_filter.h"

class QComboBox;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class MemberFilterBar : public QWidget {
    Q_OBJECT
  public:
    MemberFilterBar(Database& db, const SessionContext& session, Interaction& ui,
                    QWidget* parent = nullptr);
    // The chosen filter; throws std::invalid_argument for a value the filter
    // cannot take (a listed value holding a quote).
    BatchFilter filter() const;
    // The drop-down of a filter column (member_kind for CMS or other
    // members), nullptr for other names.
    QComboBox* combo(const std::string& column) const;

  private:
    std::map<std::string, QComboBox*> combos_;
    std::set<std::string> forced_;  // fixed by the user's role
};

}  // namespace qx::ui
