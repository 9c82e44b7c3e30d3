#include "app/channel_table.h"

#include "channels/frequency.h"
#include "app/fonts.h"
#include "files/settings_file.h"

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
const QString kWrongFrequency = QStringLiteral("Wrong Frequency!");

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

ChannelTable::ChannelTable(QWidget *parent, SettingsStore &settings, QLabel *notice)
    : QObject(parent), settings_(settings), noticeLine_(notice), list_(new QTreeWidget(parent)),
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
    return list_->topLevelItem(row - 1)->text(0);
}

void ChannelTable::putFrequency(int row, const QString &admitted)
{
    QTreeWidgetItem *item = list_->topLevelItem(row - 1);
    item->setText(0, canonicalFrequency(admitted));
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

int ChannelTable::channelCount() const
{
    return channelCountFor(singleChannel_);
}

QStringList ChannelTable::frequenciesInUse() const
{
    QStringList frequencies;
    for (int row = 1; row <= channelCount(); ++row)
        frequencies << frequencyOfRow(row);
    return frequencies;
}

void ChannelTable::applyStoredType(qint16 transceiverType)
{
    setSingleChannel(transceiverType == 1);
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
    for (int row = 0; row < kTableRows; ++row) {
        auto *item = new QTreeWidgetItem(list_, {kDefaultFrequency, kBand});
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
    const int wanted = singleChannel_ ? 0 : 1;
    const bool changes = typeList_->currentIndex() != wanted;
    connect(typeList_, &QComboBox::currentIndexChanged, this, &ChannelTable::applyChosenType, Qt::UniqueConnection);
    if (changes)
        typeList_->setCurrentIndex(wanted);
    else
        applyChosenType();
}

void ChannelTable::applyChosenType()
{
    const bool single = typeList_->currentIndex() == 0;
    setSingleChannel(single);
    settings_.record().setTransceiverType(single ? 1 : 6);
    settings_.saveSettings();
    showTypeHeading();
}

void ChannelTable::onRowClicked(const QModelIndex &index)
{
    if (index.isValid())
        startEditing(index.row() + 1);
}

void ChannelTable::prepareEdit()
{
    if (noticeLine_)
        noticeLine_->hide();
    heading_->show();
}

bool ChannelTable::acceptEdit(int row, const QString &newString)
{
    if (validFrequency(newString)) {
        putFrequency(row, newString);
        return true;
    }
    // The editor is still closing: reopen it once it has gone, then show the notice, which
    // stays in view while the user corrects the entry.
    QTimer::singleShot(0, this, [this, row] {
        startEditing(row);
        showWrongFrequency();
    });
    return false;
}

void ChannelTable::showWrongFrequency()
{
    if (noticeLine_) {
        noticeLine_->setText(kWrongFrequency);
        noticeLine_->show();
    }
    heading_->hide();
}

void ChannelTable::setSingleChannel(bool single)
{
    singleChannel_ = single;
    mask_->setVisible(single);
}

void ChannelTable::showTypeHeading()
{
    heading_->setText(singleChannel_ ? QStringLiteral("FREQUENCY") : QStringLiteral("FREQUENCIES"));
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
