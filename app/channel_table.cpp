#include "app/channel_table.h"

#include "app/fonts.h"
#include "channels/frequency.h"

#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFrame>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QStyledItemDelegate>
#include <QtWidgets/QTreeWidget>

namespace {

const QString kBand = QStringLiteral("W");

// Edits the frequency column in place. The entry goes through the table's check for the row
// the editor was opened on; Escape closes the editor without any check.
class FrequencyDelegate final : public QStyledItemDelegate {
public:
    explicit FrequencyDelegate(ChannelTable &table) : QStyledItemDelegate(table.list()), table_(table) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        table_.prepareEdit();
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        table_.acceptEdit(index.row() + 1, static_cast<QLineEdit *>(editor)->text());
    }

private:
    ChannelTable &table_;
};

} // namespace

ChannelTable::ChannelTable(QWidget *parent)
    : QObject(parent), list_(new QTreeWidget(parent)),
      heading_(new QLabel(QStringLiteral("Frequency editing window"), parent)), mask_(new QFrame(list_->viewport())),
      typeList_(new QComboBox(parent))
{
    list_->setObjectName(QStringLiteral("ListF"));
    list_->setFont(varloFont(QStringLiteral("Arial"), 14.25, true));
    list_->setRootIsDecorated(false);
    list_->setFrameShape(QFrame::Box);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setItemDelegateForColumn(0, new FrequencyDelegate(*this));
    list_->viewport()->installEventFilter(this);
    connect(list_, &QTreeWidget::clicked, this, &ChannelTable::onRowClicked);

    heading_->setObjectName(QStringLiteral("Label9"));
    heading_->setFont(varloFont(QStringLiteral("Small Fonts"), 6.75));
    mask_->setObjectName(QStringLiteral("Frame1"));
    mask_->setAutoFillBackground(true);
    mask_->setBackgroundRole(QPalette::Window);
    auto *maskRule = new QFrame(mask_);
    maskRule->setObjectName(QStringLiteral("Line2"));
    maskRule->setFrameShape(QFrame::HLine);
    maskRule->setGeometry(0, 0, 4096, 2);

    typeList_->setObjectName(QStringLiteral("Combo1"));
    typeList_->setToolTip(QStringLiteral("Transceiver Type"));
}

QString ChannelTable::frequencyOfRow(int row) const
{
    return rows_.frequency(row);
}

void ChannelTable::putFrequency(int row, const QString &admitted)
{
    rows_.put(row, admitted);
    showRow(row);
}

void ChannelTable::showRow(int row)
{
    QTreeWidgetItem *item = list_->topLevelItem(row - 1);
    item->setText(0, rows_.frequency(row));
    item->setText(1, kBand);
}

void ChannelTable::highlightRow(int row)
{
    const QModelIndex index = list_->model()->index(row - 1, 0);
    list_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ChannelTable::clearHighlight(int row)
{
    const QModelIndex index = list_->model()->index(row - 1, 0);
    list_->selectionModel()->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

QList<int> ChannelTable::selectedRowsInUse() const
{
    QList<int> rows;
    for (int row = 1; row <= channelCount(); ++row)
        if (list_->topLevelItem(row - 1)->isSelected())
            rows << row;
    return rows;
}

void ChannelTable::chooseType(TransceiverType type)
{
    typeList_->setCurrentIndex(type == TransceiverType::OneChannel ? 0 : 1);
}

void ChannelTable::applyStoredType(TransceiverType type)
{
    setType(type);
    showTypeHeading();
}

void ChannelTable::buildRows()
{
    list_->clear();
    list_->setHeaderLabels({QStringLiteral("FRQ"), QStringLiteral("Band")});
    list_->header()->setSectionResizeMode(QHeaderView::Fixed);
    list_->header()->setStretchLastSection(false);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sizeColumns();
    rows_.reset();
    for (int row = 1; row <= kTableRows; ++row) {
        auto *item = new QTreeWidgetItem(list_, {rows_.frequency(row), kBand});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    placeMask();
}

void ChannelTable::sizeColumns()
{
    const int width = list_->width();
    list_->header()->resizeSection(0, qRound(width * 0.7));
    list_->header()->resizeSection(1, qRound(width * 0.29));
}

void ChannelTable::fillTypeList()
{
    typeList_->clear();
    typeList_->addItems({QStringLiteral("1 Channel TxRx"), QStringLiteral("6 Channels TxRx")});
    const int wanted = singleChannel() ? 0 : 1;
    const bool changes = typeList_->currentIndex() != wanted;
    connect(typeList_, &QComboBox::currentIndexChanged, this, &ChannelTable::applyChosenType, Qt::UniqueConnection);
    if (changes)
        typeList_->setCurrentIndex(wanted);
    else
        applyChosenType();
}

void ChannelTable::applyChosenType()
{
    const TransceiverType previous = rows_.type();
    setType(typeList_->currentIndex() == 0 ? TransceiverType::OneChannel : TransceiverType::SixChannels);
    emit typeChosen(rows_.type());
    showTypeHeading();
    if (rows_.type() != previous)
        emit typeChanged(previous);
}

void ChannelTable::onRowClicked(const QModelIndex &index)
{
    if (index.isValid())
        startEditing(index.row() + 1);
}

void ChannelTable::prepareEdit()
{
    emit editStarted();
}

bool ChannelTable::acceptEdit(int row, const QString &newString)
{
    const QString previous = rows_.frequency(row);
    if (rows_.enter(row, newString)) {
        showRow(row);
        emit entryAccepted(row, previous);
        return true;
    }
    // The editor is still closing: reopen it once it has gone, then refuse, which keeps the
    // notice in view while the user corrects the entry.
    QTimer::singleShot(0, this, [this, row] {
        startEditing(row);
        emit entryRefused();
    });
    return false;
}

void ChannelTable::setType(TransceiverType type)
{
    rows_.setType(type);
    mask_->setVisible(singleChannel());
}

void ChannelTable::showTypeHeading()
{
    heading_->setText(singleChannel() ? QStringLiteral("FREQUENCY") : QStringLiteral("FREQUENCIES"));
}

void ChannelTable::placeMask()
{
    QTreeWidgetItem *second = list_->topLevelItem(1);
    const int top = second ? list_->visualItemRect(second).top() : 0;
    const QRect area = list_->viewport()->rect();
    mask_->setGeometry(0, top, area.width(), std::max(0, area.height() - top));
}

void ChannelTable::startEditing(int row)
{
    QTreeWidgetItem *item = list_->topLevelItem(row - 1);
    list_->setCurrentItem(item);
    list_->editItem(item, 0);
}

bool ChannelTable::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == list_->viewport() && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        sizeColumns();
        placeMask();
    }
    return QObject::eventFilter(watched, event);
}
