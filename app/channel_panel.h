#pragma once

#include "core/timing.h"

#include <QtWidgets/QWidget>

#include <memory>

class ChannelTable;
class NoticeLine;
class TransferProgress;

// The upper part of the window: the channel table under its heading, the EEPROM counter
// beside the heading and the notice line below. The entry panels and About float over it.
class ChannelPanel : public QWidget {
    Q_OBJECT
public:
    explicit ChannelPanel(const Timing &timing, QWidget *parent = nullptr);
    ~ChannelPanel() override;

    [[nodiscard]] ChannelTable &table() const { return *table_; }
    [[nodiscard]] NoticeLine &noticeLine() const { return *noticeLine_; }
    [[nodiscard]] TransferProgress &progress() const { return *progress_; }

private:
    ChannelTable *table_;
    std::unique_ptr<NoticeLine> noticeLine_;
    TransferProgress *progress_;
};
