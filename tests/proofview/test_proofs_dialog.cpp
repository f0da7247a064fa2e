#include "support/ProofSamples.h"

#include "platform/widgets/Dialogs.h"
#include "proofs/ProofStore.h"
#include "proofview/ProofsDialog.h"

#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

// The list of an entry's proofs, by keyboard: Delete asks first and removes the proof on the
// line chosen (not its neighbour), "Renommer..." renames that one, and the list follows.
class TestProofsDialog : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir program_, sources_;

    static QStringList names(const ProofsDialog &dialog)
    {
        QStringList shown;
        for (const ProofLink &link : dialog.links())
            shown.append(link.shownName);
        return shown;
    }

private Q_SLOTS:
    void initTestCase()
    {
        ProofSamples::makeRegister(program_.path(), 2);
        Dialogs::startScripting();
    }
    void cleanupTestCase() { Dialogs::stopScripting(); }

    void deleteAsksThenRemovesTheLineChosen()
    {
        ProofStore store(program_.path());
        const QString folder = sources_.path();
        store.attach(1, {ProofSamples::write(folder, "facture.pdf", ProofSamples::pdf("1")),
                         ProofSamples::write(folder, "devis.png", ProofSamples::png("2")),
                         ProofSamples::write(folder, "decompte.jpg", ProofSamples::jpeg("3"))});
        store.attach(2, {ProofSamples::write(folder, "autre.pdf", ProofSamples::pdf("4"))});
        ProofsDialog dialog(store, 1, QStringLiteral("du 01/02/24"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *list = dialog.findChild<QTableWidget *>(QStringLiteral("lstPieces"));
        QCOMPARE(names(dialog), (QStringList{"facture.pdf", "devis.png", "decompte.jpg"}));
        QCOMPARE(list->item(1, 0)->text(), QStringLiteral("devis.png"));

        dialog.selectRow(1);
        Dialogs::queueAnswer(Dialogs::Answer::No);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(Dialogs::shownTexts().last(),
                 QStringLiteral("Supprimer la pièce jointe « devis.png » ?"));
        QCOMPARE(names(dialog).size(), 3);
        QVERIFY(!dialog.changed());

        Dialogs::queueAnswer(Dialogs::Answer::Yes);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(names(dialog), (QStringList{"facture.pdf", "decompte.jpg"}));
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->currentRow(), 1); // the line that took its place
        QVERIFY(dialog.changed());

        Dialogs::queueInput(QStringLiteral("Décompte C.P.A.M. mars"));
        dialog.btnRenommerClick();
        QCOMPARE(list->item(1, 0)->text(), QStringLiteral("Décompte C.P.A.M. mars"));
        // Read back from TALO.DB; the other entry's proof untouched.
        QCOMPARE(store.proofsOf(1).back().shownName, QStringLiteral("Décompte C.P.A.M. mars"));
        QCOMPARE(store.proofsOf(2).size(), size_t(1));
    }
};

QTEST_MAIN(TestProofsDialog)
#include "test_proofs_dialog.moc"
