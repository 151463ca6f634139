#pragma once

// The MAPI properties of a message or of one attachment as a table for the
// Properties dialog: the tag in hex, the name where it is a known one, the
// type and the value. Strings show as text, times in local time, binaries
// as hex of their first 256 bytes, and every value of a multi-valued
// property, one after the other. Sorting by the tag sorts by its number.

#include "message/tessil_message.h"

#include <QAbstractTableModel>
#include <QList>

class PropertyModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { TagColumn, NameColumn, TypeColumn, ValueColumn, ColumnCount };
    // The whole value as "Copy" puts it on the clipboard: every byte of a
    // binary in hex, every value of a multi-valued property on its own line.
    static constexpr int FullValueRole = Qt::UserRole + 1;
    // What sorting compares: the tag's number for the tag column.
    static constexpr int SortRole = Qt::UserRole + 2;

    explicit PropertyModel(QObject* parent = nullptr);

    // `codePage` is the message's, for 8-bit strings.
    void setProperties(const QList<MessageProperty>& properties, quint32 codePage);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        quint32 tag = 0;
        QString tagText, name, type, value, fullValue;
    };
    QList<Row> rows;
};
