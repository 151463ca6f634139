#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class About;
}

// The program's icon, name and version, its notice, and a way to the product's
// web page. It deletes itself when closed.
class About : public QDialog
{
    Q_OBJECT
public:
    explicit About(QWidget* parent = nullptr);
    ~About() override;

    // The notice line for a year: "© <year> Veltrano. All rights reserved."
    static QString noticeText(int year);

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void on_btnMoreInfo_clicked();

private:
    void setTexts();

    std::unique_ptr<Ui::About> ui;
};
