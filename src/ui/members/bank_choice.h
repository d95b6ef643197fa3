// The 거래은행 box of the member screens. Account-debit members choose a bank
// from the relay's list and store it as the seven-digit code (bank and branch
// part); phone-payment members choose their carrier. Nothing is typed, so no
// text the list does not hold reaches the record.
#pragma once

#include <QObject>
#include <map>
#include <string>
#include <utility>
#include <vector>

class QComboBox;

namespace qx {
class Database;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class BankChoice : public QObject {
    Q_OBJECT
  public:
    BankChoice(QComboBox* combo, Database& db, const SessionContext& session);

    // Offers the entries of the collection method; keeps the stored code.
    void setMethod(const std::string& settle);
    // Shows a stored code for the method.
    void load(const std::string& stored, const std::string& settle);
    // The code to store: a bank keeps its stored branch part while it is not
    // changed and gets "0000" when chosen anew; empty when nothing valid is
    // chosen. Methods without a bank keep what is stored.
    std::string value() const;

  private:
    void fill();
    // The stored code belongs to the method now chosen.
    bool keepsStored() const;

    QComboBox* combo_;
    std::vector<std::pair<std::string, std::string>> banks_;  // code, text
    std::string method_;
    std::string stored_;
    std::string storedMethod_;
    std::map<std::string, std::string> chosen_;  // by method, while switching
};

// The seven-digit code of a three-digit bank with no branch part.
std::string BankCodeOf(const std::string& bank3);

}  // namespace qx::ui
