// The path table of the stand-in. A new server script is one more line here
// and one handler function (declared in service_web.h).
#include "cms/eb14/eb13_results.h"
#include "cms/eb21/eb21_preparation.h"
#include "cms/eb22/eb22_results.h"
#include "export/bills/bills.h"
#include "ledger/server_scripts.h"
#include "reports/ledger_report.h"
#include "service_web.h"
#include "session/service_web.h"

namespace qx::web {

const std::vector<Route>& ServiceRoutes() {
    static const std::vector<Route> routes = {
        {kIpCheckPath, IpCheck},
        {kNoticePagePath, NoticePage},
        {kBoardPagePath, BoardPage},
        {kKftcFileManagerPath, KftcFileManager},
        {kSettleOutstandingPath, SettleOutstandingScript},
        {kBookSaleRunPath, BookSaleRunScript},
        {kMarkSaleRowsPath, MarkSaleRowsScript},
        {kMarkCollectionRowsPath, MarkCollectionRowsScript},
        {kApplyEb13ResultsPath, ApplyEb13ResultsScript},
        {kBillableItemsPath, BillableItemsScript},
        {kCardBillableItemsPath, CardBillableItemsScript},
        {kApplyEb22ResultsPath, ApplyEb22ResultsScript},
        // E-mailed bills.
        {kBillMailerPath, BillMailerPage},
        {kBillPreviewPath, BillPreviewPage},
        {kFillMonthdivPath, FillMonthdivScript},
    };
    return routes;
}

}  // namespace qx::web
