#pragma once

// "Properties": every MAPI property of the message, or of one of its
// attachments (chosen above the list; the selected attachment's at first
// when one is selected), in a table that sorts by any column and filters by
// the text typed into the field. "Copy" puts the selected properties'
// whole values on the clipboard.

#include "message/tessil_message.h"

#include <QDialog>
#include <QSharedPointer>

#include <memory>

class PropertyModel;
class QSortFilterProxyModel;

namespace Ui {
class PropertiesDialog;
}

class PropertiesDialog : public QDialog
{
    Q_OBJECT
public:
    // `attachment` is the row of the attachment to show first; -1 for the message.
    PropertiesDialog(QSharedPointer<const TessilMessage> message, int attachment, QWidget* parent = nullptr);
    ~PropertiesDialog() override;

    // Shows the message's properties (-1) or those of attachment `row`.
    void showSource(int attachment);
    PropertyModel* model() const { return properties; }
    QSortFilterProxyModel* proxy() const { return filter; }
    // The whole values of the selected rows, one after the other.
    QString selectedValues() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void fillSources();

    std::unique_ptr<Ui::PropertiesDialog> ui;
    QSharedPointer<const TessilMessage> message;
    PropertyModel* properties = nullptr;
    QSortFilterProxyModel* filter = nullptr;
};
