#include "app/window_transfers.h"

WindowTransfers::WindowTransfers(SerialLink &link, TimeSource &time, Timing timing, WindowTransferView::Parts parts,
                                 const WindowTransferView::ShowMessage &showMessage)
    : view_(parts, showMessage), exchange_(link, view_, time, timing),
      backup_(exchange_, parts.ports, parts.terminal, showMessage),
      verifier_(link, time, timing, VerifyView::Parts{view_, parts.table, parts.progress}, showMessage)
{
}

QCoro::Task<> WindowTransfers::run(TransferMode mode)
{
    if (mode == TransferMode::Download)
        co_await exchange_.downloadToRadio();
    else if (mode == TransferMode::Verify)
        co_await verifier_.verifyRadio();
    else
        co_await exchange_.uploadFromRadio();
    if (!exchange_.lifetime().ended())
        backup_.nameBackup();
}
