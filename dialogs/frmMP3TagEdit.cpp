#include "dialogs/frmMP3TagEdit.h"

#include "dialogs/Id3Module.h"
#include "dialogs/LumoCommonDialog.h"
#include "engine/Docking.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "tools/ToolWindowSetup.h"

namespace {

// The ID3v1 genres by number: 0 to 79 as the tag format numbers them, 80 to 147 its common extension.
const char* const GenreNames
    = "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|New Age|Oldies|Other|Pop|R&B|Rap|"
      "Reggae|Rock|Techno|Industrial|Alternative|Ska|Death Metal|Pranks|Soundtrack|Euro-Techno|Ambient|Trip Hop|"
      "Vocal|Jazz+Funk|Fusion|Trance|Classical|Instrumental|Acid|House|Game|Sound Clip|Gospel|Noise|Alt. Rock|Bass|"
      "Soul|Punk|Space|Meditative|Instrumental Pop|Instrumental Rock|Ethnic|Gothic|Darkwave|Techno-Industrial|"
      "Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|Comedy|Cult|Gangsta Rap|Top 40|Christian Rap|Pop/Punk|"
      "Jungle|Native American|Cabaret|New Wave|Phychedelic|Rave|Showtunes|Trailer|Lo-Fi|Tribal|Acid Punk|Acid Jazz|"
      "Polka|Retro|Musical|Rock & Roll|Hard Rock|Folk|Folk/Rock|National Folk|Swing|Fast-Fusion|Bebob|Latin|"
      "Revival|Celtic|Blue Grass|Avantegarde|Gothic Rock|Progressive Rock|Psychedelic Rock|Symphonic Rock|"
      "Slow Rock|Big Band|Chorus|Easy Listening|Acoustic|Humour|Speech|Chanson|Opera|Chamber Music|Sonata|"
      "Symphony|Booty Bass|Primus|Porn Groove|Satire|Slow Jam|Club|Tango|Samba|Folklore|Ballad|power Ballad|"
      "Rhythmic Soul|Freestyle|Duet|Punk Rock|Drum Solo|A Capella|Euro-House|Dance Hall|Goa|Drum & Bass|"
      "Club-House|Hardcore|Terror|indie|Brit Pop|Afro-Punk|Polsk Punk|Beat|Christian Gangsta Rap|Heavy Metal|"
      "Black Metal|Crossover|Comteporary Christian|Christian Rock|Merengue|Salsa|Trash Metal|Anime|JPop|Synth Pop";

constexpr int PathFileAccessError = 75;

} // namespace

frmMP3TagEdit::frmMP3TagEdit()
{
    setCaption(QStringLiteral("MP3 Tag Editor"));
    CreateControls();
    connect(Command1, &forms::CommandButton::Click, this, &frmMP3TagEdit::Command1_Click);
    connect(Command2, &forms::CommandButton::Click, this, &frmMP3TagEdit::Command2_Click);
    connect(Command3, &forms::CommandButton::Click, this, &frmMP3TagEdit::Command3_Click);
    connect(Timer1, &forms::Timer::Tick, this, [this] {
        forms::IgnoreErrors run;
        if (!Text8->Text().isEmpty()) run([this] { Command1_Click(); });
        Timer1->setEnabled(false);
    });
}

void frmMP3TagEdit::CreateControls()
{
    QWidget* client = Client();
    Text8 = new forms::TextBox(client);
    Text8->Move(120, 120, 3840, 315);
    Command3 = new forms::CommandButton(client, QStringLiteral("Open"));
    Command3->Move(4080, 120, 735, 315);
    Command1 = new forms::CommandButton(client, QStringLiteral("Read"));
    Command1->Move(4890, 120, 735, 315);
    Command2 = new forms::CommandButton(client, QStringLiteral("Write"));
    Command2->Move(5700, 120, 735, 315);

    Frame1 = new forms::Frame(client);
    Frame1->Move(120, 540, 6315, 2760);

    const struct {
        SkinLabel*& label;
        const char* caption;
    } labels[] = {
        {SkinLabel1, "Title"},
        {SkinLabel2, "Artist"},
        {SkinLabel3, "Album"},
        {SkinLabel4, "Year"},
        {SkinLabel5, "Comments"},
        {SkinLabel6, "Genre"},
    };
    forms::TextBox** boxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5};
    double top = 720;
    for (int row = 0; row < 6; ++row) {
        labels[row].label = new SkinLabel(client, QString::fromLatin1(labels[row].caption));
        labels[row].label->Move(300, top + 30, 1080, 255);
        if (row < 5) {
            *boxes[row] = new forms::TextBox(client);
            (*boxes[row])->Move(1440, top, row == 3 ? 1200 : 4815, 315);
        }
        top += 420;
    }
    Combo1 = new forms::ComboBox(client, forms::ComboBox::Style::DropDownList);
    Combo1->Move(1440, top - 420, 3000, 315);

    // Nothing reads or writes these two.
    Text6 = new forms::TextBox(client);
    Text6->setVisible(false);
    Text7 = new forms::TextBox(client, QStringLiteral("Text7"));
    Text7->setVisible(false);

    Timer1 = new forms::Timer(this, 100, true);
    Comdlg = new LumoCommonDialog(client);
    Comdlg->setVisible(false);

    Move(Left(), Top(), 6675, 3540 + (Height() - ScaleHeight()));
}

void frmMP3TagEdit::Form_Load()
{
    Id3Genres = QString::fromLatin1(GenreNames).split(QLatin1Char('|'));
    for (const QString& genre : std::as_const(Id3Genres))
        Combo1->AddItem(genre);
    ToolWindowSetup(*this);
}

void frmMP3TagEdit::Form_Unload(int& /*cancel*/) { Docking::DetachForm(this); }

void frmMP3TagEdit::Command1_Click()
{
    using Id3Module::FieldText;
    forms::IgnoreErrors run;
    run([this] { Id3Module::ReadTag(Text8->Text()); });
    const Id3Module::Id3Tag& tag = Id3Module::Tag();
    run([&] { Text1->setText(FieldText(tag.Title)); });
    run([&] { Text2->setText(FieldText(tag.Artist)); });
    run([&] { Text3->setText(FieldText(tag.Album)); });
    run([&] { Text4->setText(FieldText(tag.Year)); });
    run([&] { Text5->setText(FieldText(tag.Comment)); });
    // A genre byte that names no genre here leaves the list as it was.
    if (tag.Genre < Combo1->ListCount()) run([&] { Combo1->setListIndex(tag.Genre); });
}

void frmMP3TagEdit::Command2_Click()
{
    Id3Module::Id3Tag& tag = Id3Module::Tag();
    Id3Module::SetField(tag.Title, Text1->Text());
    Id3Module::SetField(tag.Artist, Text2->Text());
    Id3Module::SetField(tag.Album, Text3->Text());
    Id3Module::SetField(tag.Year, Text4->Text());
    Id3Module::SetField(tag.Comment, Text5->Text());
    // No genre chosen stores the byte the tag format keeps for none.
    tag.Genre = Combo1->ListIndex() < 0 ? Id3Module::NoGenre : static_cast<std::uint8_t>(Combo1->ListIndex());
    try {
        Id3Module::WriteTag(Text8->Text(), tag);
    } catch (const forms::RuntimeError& e) {
        const QString message
            = e.Number() == PathFileAccessError ? QStringLiteral("File is Write Protected") : e.Description();
        forms::MsgBox(message, forms::MsgBoxStyle::OKOnly, QStringLiteral(" Error"));
        return;
    }
    forms::MsgBox(
        QStringLiteral("Successfully saved the MP3 tag"), forms::MsgBoxStyle::OKOnly, QStringLiteral(" Success"));
}

void frmMP3TagEdit::Command3_Click()
{
    forms::IgnoreErrors run;
    run([this] { Comdlg->ShowOpen(); });
    Text8->setText(Comdlg->FileName());
    Command1_Click();
}
