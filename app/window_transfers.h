#pragma once

#include "app/radio_backup.h"
#include "app/radio_verify.h"
#include "app/window_transfer_view.h"
#include "link/exchange.h"

// The window's transfers over its one serial line, one at a time and shown through the
// window's transfer view: Download, which keeps a backup of the radio first, Upload and
// Verify Radio.
class WindowTransfers {
public:
    WindowTransfers(SerialLink &link, TimeSource &time, Timing timing, WindowTransferView::Parts parts,
                    const WindowTransferView::ShowMessage &showMessage);

    // From a transfer's start to its end: the window refuses to close meanwhile.
    [[nodiscard]] bool running() const { return view_.transferRunning(); }
    // Each ends the coroutines of its transfers; the window ends them with its own.
    [[nodiscard]] Lifetime &exchangeLifetime() { return exchange_.lifetime(); }
    [[nodiscard]] Lifetime &verifyLifetime() { return verifier_.lifetime(); }

    // Runs the transfer to its end; after a download the terminal pane names its backup.
    QCoro::Task<> run(TransferMode mode);

private:
    WindowTransferView view_;
    RadioExchange exchange_;
    RadioBackup backup_;
    RadioVerify verifier_;
};
