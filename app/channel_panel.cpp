#include "app/channel_panel.h"

#include "app/channel_table.h"
#include "app/notice_line.h"
#include "app/transfer_progress.h"

#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QTreeWidget>

ChannelPanel::ChannelPanel(const Timing &timing, QWidget *parent)
    : QWidget(parent), table_(new ChannelTable(this)),
      noticeLine_(std::make_unique<NoticeLine>(this, table_->heading())),
      progress_(new TransferProgress(this, timing, *noticeLine_))
{
    auto *column = new QVBoxLayout(this);
    auto *headingRow = new QHBoxLayout;
    headingRow->addWidget(table_->heading());
    headingRow->addStretch();
    headingRow->addWidget(progress_->counter());
    column->addLayout(headingRow);
    column->addWidget(table_->list(), 1);
    column->addWidget(noticeLine_->label());

    connect(table_, &ChannelTable::editStarted, this, [this] { noticeLine_->uncoverHeading(); });
    connect(table_, &ChannelTable::entryRefused, this, [this] { noticeLine_->showWrongFrequency(); });
}

ChannelPanel::~ChannelPanel() = default;
