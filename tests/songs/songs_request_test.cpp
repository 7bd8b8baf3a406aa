// The song request form: opening it in either mode, its keyboard, and a
// submission stored in the songs database, or refused when it is empty.
#include <gtest/gtest.h>

#include <QTest>

#include "songs_fixture.h"
#include "support/qt_printers.h"

namespace {

using songstest::SongsFixture;

class RequestFormTest : public SongsFixture {
protected:
    QList<QWidget*> allFields() {
        Tfplayer& c = console();
        QList<QWidget*> fields{c.edtNama, c.edtEmail, c.edtTelp, c.Mguest};
        for (int i = 0; i < 5; ++i) {
            fields << c.edtSong[i] << c.edtArtis[i];
        }
        return fields;
    }

    static QString text(QWidget* field) {
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            return line->text();
        }
        return qobject_cast<QPlainTextEdit*>(field)->toPlainText();
    }

    void fillEveryField(const QString& value) {
        for (QWidget* field : allFields()) {
            if (auto* line = qobject_cast<QLineEdit*>(field)) {
                line->setText(value);
            } else {
                qobject_cast<QPlainTextEdit*>(field)->setPlainText(value);
            }
        }
    }

    void tapKey(const QString& caption) {
        TouchKeyboard* keyboard = console().AdvSmoothTouchKeyBoard3;
        const QRect key = keyboard->keyRect(caption);
        ASSERT_FALSE(key.isEmpty()) << caption.toStdString();
        QTest::mouseClick(keyboard, Qt::LeftButton, Qt::NoModifier, key.center());
    }

    // The room's stored requests, each as its columns from nama to pesan.
    QList<QStringList> storedRequests() {
        return songs.rows(
            "SELECT nama, email, telp, judul1, artis1, judul2, artis2, judul3, artis3, judul4, "
            "artis4, judul5, artis5, pesan FROM requestlagu WHERE namaroom = " +
            quotedRoom() + " ORDER BY idrequest");
    }
};

TEST_F(RequestFormTest, EveryOpeningStartsEmptyInItsMode) {
    Tfplayer& c = console();
    const struct {
        std::function<void()> open;
        bool messageBox;
    } openings[] = {
        {[&] { skinCommand("songrequest"); }, false},
        {[&] { c.Button4->click(); }, true},
        {[&] { c.Button3->click(); }, false},
        {[&] { c.Button4Click(); }, true},
        {[&] { c.Button4Click(); }, true},
        {[&] { skinCommand("songrequest"); }, false},
    };
    for (const auto& opening : openings) {
        fillEveryField("123");
        c.Panel_Request->hide();

        opening.open();

        EXPECT_FALSE(c.Panel_Request->isHidden());
        EXPECT_EQ(!c.pnlcommand->isHidden(), opening.messageBox);
        for (QWidget* field : allFields()) {
            EXPECT_EQ(text(field), "") << field->objectName().toStdString();
        }
        EXPECT_EQ(c.focusWidget(), c.edtNama) << "the keyboard types into the name first";
    }
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(RequestFormTest, CancelClosesTheFormAndKeepsWhatWasTyped) {
    Tfplayer& c = console();
    c.Button3Click();
    c.edtNama->setText("RINA");
    c.btcancelrequest->click();
    EXPECT_TRUE(c.Panel_Request->isHidden());
    EXPECT_EQ(c.edtNama->text(), "RINA");
    EXPECT_TRUE(storedRequests().isEmpty());
}

TEST_F(RequestFormTest, TheKeyboardTypesIntoTheFocusedFieldAndNeverBehindTheForm) {
    Tfplayer& c = console();
    c.show();
    c.Button3Click();

    tapKey("R");
    tapKey("Space");
    tapKey("A");
    EXPECT_EQ(c.edtNama->text(), "R A");

    c.edtTelp->setFocus();
    tapKey("Q");  // the telephone takes digits only
    EXPECT_EQ(c.edtTelp->text(), "");
    QTest::keyClicks(c.edtTelp, "08a1-2");
    EXPECT_EQ(c.edtTelp->text(), "0812");

    c.edtSong[2]->setFocus();
    tapKey("L");
    EXPECT_EQ(c.edtSong[2]->text(), "L");

    // A field outside the form, or a title line under the message box, never
    // gets the keys: they go to the name.
    c.edtcari->setText("");
    c.tmrsearching->stop();
    c.edtcari->setFocus();
    tapKey("X");
    EXPECT_EQ(c.edtcari->text(), "");
    EXPECT_FALSE(c.tmrsearching->isActive()) << "no search behind the form";
    EXPECT_EQ(c.edtNama->text(), "R AX");

    c.Button4Click();
    c.edtSong[0]->setFocus();
    tapKey("Y");
    EXPECT_EQ(c.edtSong[0]->text(), "");
    EXPECT_EQ(c.edtNama->text(), "Y");
    c.Mguest->setFocus();
    tapKey("H");
    tapKey("Enter");
    tapKey("I");
    EXPECT_EQ(c.Mguest->toPlainText(), "H\nI");
}

// The form's own keys fill every field as it asks: the telephone with
// digits, the e-mail address with "@", ".", "-" and "_".
TEST_F(RequestFormTest, TheFormsKeyboardTypesAnAddressAndATelephoneNumber) {
    Tfplayer& c = console();
    c.show();
    c.Button3Click();
    const auto tapKeys = [&](const QString& keys) {
        for (const QChar key : keys) {
            tapKey(key == QLatin1Char(' ') ? QStringLiteral("Space") : QString(key));
        }
    };
    const struct {
        QLineEdit* field;
        QString keys;
        QString typed;
    } fields[] = {
        {c.edtNama, "RINA 2", "RINA 2"},
        {c.edtEmail, "RINA.P_1@MAIL-X.ID", "RINA.P_1@MAIL-X.ID"},
        {c.edtTelp, "0812-345", "0812345"},  // digits only
        {c.edtSong[0], "LAGU 99", "LAGU 99"},
    };
    for (const auto& entry : fields) {
        entry.field->setFocus();
        tapKeys(entry.keys);
        EXPECT_EQ(entry.field->text(), entry.typed) << entry.field->objectName().toStdString();
    }
}

TEST_F(RequestFormTest, SubmitStoresTheRequestAsTypedConfirmsClearsAndCloses) {
    Tfplayer& c = console();
    const QString tricky = "O'NEIL \\ 'X'' \\' Ü";
    c.Button3Click();
    c.edtNama->setText(tricky);
    c.edtEmail->setText("a'b\\c@example.id");
    c.edtTelp->setText("0812345");
    for (int i = 0; i < 5; ++i) {
        c.edtSong[i]->setText(QStringLiteral("TITLE %1 ").arg(i + 1) + tricky);
        c.edtArtis[i]->setText(QStringLiteral("ARTIST %1 ").arg(i + 1) + tricky);
    }
    c.edtArtis[3]->clear();  // an unknown artist

    c.btsubmitrequest->click();

    const QList<QStringList> stored = storedRequests();
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0],
              QStringList({tricky, "a'b\\c@example.id", "0812345", "TITLE 1 " + tricky,
                           "ARTIST 1 " + tricky, "TITLE 2 " + tricky, "ARTIST 2 " + tricky,
                           "TITLE 3 " + tricky, "ARTIST 3 " + tricky, "TITLE 4 " + tricky, "",
                           "TITLE 5 " + tricky, "ARTIST 5 " + tricky, ""}));
    EXPECT_EQ(songs
                  .scalar("SELECT TIMESTAMPDIFF(SECOND, waktu, NOW()) < 60 FROM requestlagu "
                          "WHERE namaroom = " +
                          quotedRoom())
                  .toInt(),
              1)
        << "stored with the server's time";
    EXPECT_EQ(platform.messages, QStringList({"Thank you! Your song request has been sent."}));
    EXPECT_TRUE(c.Panel_Request->isHidden());
    for (QWidget* field : allFields()) {
        EXPECT_EQ(text(field), "") << field->objectName().toStdString();
    }
    EXPECT_TRUE(logEntries().isEmpty()) << logEntries().join('\n').toStdString();
    EXPECT_TRUE(sent().isEmpty()) << "the room player has no part in it";
}

TEST_F(RequestFormTest, AMessageIsStoredWithoutTheHiddenTitleLines) {
    Tfplayer& c = console();
    c.Button4Click();
    c.edtNama->setText("BUDI");
    c.edtSong[0]->setText("UNDER THE BOX");  // typed before, not visible now
    c.Mguest->setPlainText("Tolong tambah lagu 'Kopi Dangdut'\nterima kasih \\o/");

    c.btsubmitrequestClick();

    ASSERT_EQ(storedRequests().size(), 1);
    EXPECT_EQ(storedRequests()[0],
              QStringList({"BUDI", "", "", "", "", "", "", "", "", "", "", "", "",
                           "Tolong tambah lagu 'Kopi Dangdut'\nterima kasih \\o/"}));
    EXPECT_TRUE(c.Panel_Request->isHidden());
}

TEST_F(RequestFormTest, AnEmptyRequestIsRefusedAndNothingIsStored) {
    Tfplayer& c = console();
    const struct {
        bool messageMode;
        std::function<void()> fill;
        const char* message;
    } cases[] = {
        {false, [] {}, "Please type at least one song title."},
        {false,
         [&] {
             c.edtNama->setText("RINA");
             c.edtSong[1]->setText("   ");
             c.edtArtis[1]->setText("AN ARTIST ONLY");
         },
         "Please type at least one song title."},
        {true, [] {}, "Please type your message."},
        {true,
         [&] {
             c.edtSong[0]->setText("HIDDEN TITLE");
             c.Mguest->setPlainText(" \n\t ");
         },
         "Please type your message."},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.message);
        if (k.messageMode) {
            c.Button4Click();
        } else {
            c.Button3Click();
        }
        k.fill();
        const QString artist = c.edtArtis[1]->text();
        platform.messages.clear();

        c.btsubmitrequestClick();

        EXPECT_EQ(platform.messages, QStringList({k.message}));
        EXPECT_FALSE(c.Panel_Request->isHidden()) << "the form stays open";
        EXPECT_EQ(c.edtArtis[1]->text(), artist) << "and keeps what was typed";
        EXPECT_TRUE(storedRequests().isEmpty());
    }
    EXPECT_TRUE(statements("CALL SimpanRequestLagu").isEmpty());
}

TEST_F(RequestFormTest, TheServerRefusesAnEmptyRequestOnItsOwn) {
    console().SpCall.SetText("SimpanRequestLagu(" + quotedRoom() +
                             ",'RINA','','','  ','A','','','','','','','','',' ');");
    EXPECT_THROW(console().SpCall.Execute(), std::exception);
    EXPECT_TRUE(storedRequests().isEmpty());
}

TEST_F(RequestFormTest, AFailedSubmissionIsLoggedAndTheFormStaysAsTyped) {
    Tfplayer& c = console();
    c.Button3Click();
    c.edtSong[0]->setText("A SONG");
    loseSongsServer();

    c.btsubmitrequestClick();

    EXPECT_EQ(platform.messages,
              QStringList({"Your song request could not be sent. Please try again."}));
    ASSERT_EQ(logEntries().size(), 1);
    EXPECT_TRUE(logEntries()[0].startsWith("Song Request ")) << logEntries()[0].toStdString();
    EXPECT_FALSE(c.Panel_Request->isHidden());
    EXPECT_EQ(c.edtSong[0]->text(), "A SONG");
}

}  // namespace
