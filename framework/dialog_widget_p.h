#pragma once

#include <QDialog>

#include <vector>

class CDialog;

// The window of a CDialog, made from its template (dialog.cpp).
class DialogWidget : public QDialog {
public:
    DialogWidget(CDialog* owner, QWidget* parent);
    void ReleaseOwner() { m_owner = nullptr; }
    // The controls in template (tab) order.
    const std::vector<QWidget*>& Controls() const { return m_controls; }
    std::vector<QWidget*> m_controls;
    bool m_bHasDefault = false;   // the template has a default push button

    void done(int r) override;
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Command(int id);
    CDialog* m_owner;
    bool m_bDoneByOwner = false;
    friend class CDialog;
};
