<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>EncryptionDialogs</name>
    <message>
        <source>A forgotten password cannot be recovered: without it nobody, not even you, can read this diary again.</source>
        <translation>Ein vergessenes Passwort lässt sich nicht wiederherstellen: Ohne es kann niemand, auch Sie nicht, dieses Tagebuch je wieder lesen.</translation>
    </message>
    <message>
        <source>Encrypt the Diary</source>
        <translation>Tagebuch verschlüsseln</translation>
    </message>
    <message>
        <source>Turn Encryption Off</source>
        <translation>Verschlüsselung ausschalten</translation>
    </message>
    <message>
        <source>Type the password again. Every file of the diary will be encrypted with it.

</source>
        <translation>Geben Sie das Passwort noch einmal ein. Jede Datei des Tagebuchs wird damit verschlüsselt.

</translation>
    </message>
    <message>
        <source>Type the diary&apos;s password. Its files will be written back without encryption, readable by anyone who copies them.</source>
        <translation>Geben Sie das Passwort des Tagebuchs ein. Seine Dateien werden unverschlüsselt zurückgeschrieben, lesbar für jeden, der sie kopiert.</translation>
    </message>
</context>
<context>
    <name>EndOfRun</name>
    <message>
        <source> These days were changed both here and in it, so each entry now holds both texts, the changed file&apos;s below the line &quot;%1&quot;: %2.</source>
        <translation> Diese Tage wurden hier und dort geändert, daher enthält jeder dieser Einträge jetzt beide Texte, den der geänderten Datei unter der Zeile „%1“: %2.</translation>
    </message>
    <message>
        <source>Keep the rescued diary? It is then written as &quot;%1&quot;, and the damaged file is kept beside it under a name starting with &quot;%2&quot;.

Not Now leaves both files as they are; the rescued days and the text of this run are offered again at the next start.</source>
        <translation>Das gerettete Tagebuch behalten? Es wird dann als „%1“ geschrieben, und die beschädigte Datei bleibt daneben unter einem Namen, der mit „%2“ beginnt.

„Nicht jetzt“ lässt beide Dateien, wie sie sind; die geretteten Tage und der Text dieser Sitzung werden beim nächsten Start wieder angeboten.</translation>
    </message>
    <message>
        <source>The rescued diary is now &quot;%1&quot;. The damaged file was kept beside it as &quot;%2&quot;.</source>
        <translation>Das gerettete Tagebuch ist jetzt „%1“. Die beschädigte Datei wurde daneben als „%2“ behalten.</translation>
    </message>
    <message>
        <source>&quot;Journal.cds&quot; was changed by another program while Quillmere was running, and Quillmere cannot read it: %1. It was kept as &quot;Journal.cds.bak&quot;, and the diary was written as this run left it.</source>
        <translation>„Journal.cds“ wurde von einem anderen Programm geändert, während Quillmere lief, und Quillmere kann die Datei nicht lesen: %1. Sie wurde als „Journal.cds.bak“ behalten, und das Tagebuch wurde so geschrieben, wie diese Sitzung es hinterließ.</translation>
    </message>
    <message>
        <source>Keep Rescued Diary</source>
        <translation>Gerettetes behalten</translation>
    </message>
    <message>
        <source>Not Now</source>
        <translation>Nicht jetzt</translation>
    </message>
</context>
<context>
    <name>EntryMerge</name>
    <message>
        <source>--- Text of this day from the changed file ---</source>
        <translation>--- Text dieses Tages aus der geänderten Datei ---</translation>
    </message>
</context>
<context>
    <name>MainExportHost</name>
    <message>
        <source>Your diary is encrypted, but the exported entries are written as plain files: anyone who can open the folder you choose can read them. Export anyway?</source>
        <translation>Ihr Tagebuch ist verschlüsselt, die exportierten Einträge werden aber als unverschlüsselte Dateien geschrieben: Wer den gewählten Ordner öffnen kann, kann sie lesen. Trotzdem exportieren?</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source> The diary that was in &quot;%1&quot; has been copied there; the files left in &quot;%1&quot; are no longer used.</source>
        <translation> Das Tagebuch aus „%1“ wurde dorthin kopiert; die in „%1“ verbliebenen Dateien werden nicht mehr benutzt.</translation>
    </message>
    <message>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>Quillmere can open the %1 it could read from the damaged diary</source>
        <translation>Quillmere kann die %1 öffnen, die es aus dem beschädigten Tagebuch lesen konnte</translation>
    </message>
    <message>
        <source>Quillmere could read no day from the damaged diary</source>
        <translation>Quillmere konnte keinen Tag aus dem beschädigten Tagebuch lesen</translation>
    </message>
    <message>
        <source> (%1 known lost)</source>
        <translation> (%1 bekanntermaßen verloren)</translation>
    </message>
    <message>
        <source> The text of %1 typed in earlier runs and kept in &quot;%2&quot; is put over them.</source>
        <translation> Der Text vom %1, in früheren Sitzungen geschrieben und in „%2“ aufbewahrt, kommt darüber.</translation>
    </message>
    <message>
        <source> The text of %1 typed in earlier runs is kept in &quot;%2&quot; and can be opened.</source>
        <translation> Der Text vom %1, in früheren Sitzungen geschrieben, ist in „%2“ aufbewahrt und kann geöffnet werden.</translation>
    </message>
    <message>
        <source>

Nothing on disk changes now: when Quillmere ends you choose whether to keep the rescued diary, and the damaged file is then kept beside it. Quit leaves every file as it is.</source>
        <translation>

Auf dem Datenträger ändert sich jetzt nichts: Wenn Quillmere endet, entscheiden Sie, ob Sie das gerettete Tagebuch behalten; die beschädigte Datei bleibt dann daneben. „Beenden“ lässt jede Datei, wie sie ist.</translation>
    </message>
    <message>
        <source>

The diary in &quot;%1&quot; could not be copied into &quot;%2&quot;, where Quillmere has to keep it. Quillmere ends now, so that the diary is not split in two.</source>
        <translation>

Das Tagebuch in „%1“ konnte nicht nach „%2“ kopiert werden, wo Quillmere es führen muss. Quillmere endet jetzt, damit das Tagebuch nicht in zwei Teile zerfällt.</translation>
    </message>
    <message>
        <source>Open Rescued Days</source>
        <translation>Gerettete Tage öffnen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source> The rest of the encrypted diary, after the damaged part, cannot be read: every day written there is lost.</source>
        <translation> Der Rest des verschlüsselten Tagebuchs nach dem beschädigten Teil kann nicht gelesen werden: Jeder dort geschriebene Tag ist verloren.</translation>
    </message>
    <message>
        <source> The diary held %1 in all.</source>
        <translation> Das Tagebuch enthielt insgesamt %1.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Pre&amp;view...</source>
        <translation>&amp;Vorschau...</translation>
    </message>
    <message>
        <source>1 year ago</source>
        <translation>vor 1 Jahr</translation>
    </message>
    <message>
        <source>%1 years ago</source>
        <translation>vor %1 Jahren</translation>
    </message>
</context>
<context>
    <name>quillmere::AboutBox</name>
    <message>
        <source>About Quillmere</source>
        <translation>Über Quillmere</translation>
    </message>
    <message>
        <source>Quillmere icon</source>
        <translation>Quillmere-Symbol</translation>
    </message>
    <message>
        <source>A diary: one rich-text entry for every day, kept in one file on your computer.</source>
        <translation>Ein Tagebuch: ein formatierter Eintrag für jeden Tag, in einer Datei auf Ihrem Computer.</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or (at your option) any later version (GPL-3.0-or-later). It comes with ABSOLUTELY NO WARRANTY.</source>
        <translation>Freie Software unter der GNU General Public License, Version 3 oder (nach Ihrer Wahl) jeder späteren Version (GPL-3.0-or-later). Sie wird OHNE JEDE GARANTIE geliefert.</translation>
    </message>
    <message>
        <source>Home page: %1</source>
        <translation>Homepage: %1</translation>
    </message>
    <message>
        <source>Built on: %1.</source>
        <translation>Beruht auf: %1.</translation>
    </message>
</context>
<context>
    <name>quillmere::ColorGradient</name>
    <message>
        <source>Please specify at least two colors.</source>
        <translation>Bitte mindestens zwei Farben angeben.</translation>
    </message>
</context>
<context>
    <name>quillmere::CommandLine</name>
    <message>
        <source>Usage: quillmere [--help | --version]

Quillmere is a private diary: one rich-text entry per calendar day, kept
in one local data file and guarded by an optional password.

Started without options it opens the diary kept in
~/.local/share/Quillmere/ (a build run from its build folder keeps it
beside its executable). Other arguments are ignored, except Qt&apos;s own
options such as -platform, -display and -style.

  --help     show this help and exit
  --version  show the version and licence and exit

The keys and the files: man quillmere. The diary file from the command
line: quillmere-journal --help.
</source>
        <translation>Aufruf: quillmere [--help | --version]

Quillmere ist ein privates Tagebuch: ein formatierter Eintrag pro Kalendertag,
gespeichert in einer lokalen Datendatei und auf Wunsch durch ein Passwort
geschützt.

Ohne Optionen gestartet, öffnet es das Tagebuch in
~/.local/share/Quillmere/ (ein Build, der aus seinem Build-Ordner läuft,
behält es neben seinem Programm). Andere Argumente werden ignoriert, außer
Qts eigenen Optionen wie -platform, -display und -style.

  --help     diese Hilfe zeigen und beenden
  --version  Version und Lizenz zeigen und beenden

Tasten und Dateien: man quillmere. Die Tagebuchdatei auf der Kommandozeile:
quillmere-journal --help.
</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Velmora Durazu
License GPL-3.0-or-later: GNU GPL version 3 or later &lt;https://gnu.org/licenses/gpl.html&gt;.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
</source>
        <translation>Copyright (C) 2026 Velmora Durazu
Lizenz GPL-3.0-or-later: GNU GPL Version 3 oder neuer &lt;https://gnu.org/licenses/gpl.html&gt;.
Dies ist freie Software: Sie dürfen sie verändern und weitergeben.
Es gibt KEINE GARANTIE, soweit gesetzlich zulässig.
</translation>
    </message>
</context>
<context>
    <name>quillmere::DialogFrame</name>
    <message>
        <source>Skip empty entries</source>
        <translation>Leere Tage überspringen</translation>
    </message>
</context>
<context>
    <name>quillmere::EndOfRun</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Quit Without Saving</source>
        <translation>Ohne Speichern beenden</translation>
    </message>
    <message>
        <source>Save the Diary Into</source>
        <translation>Tagebuch speichern in</translation>
    </message>
    <message>
        <source>

This run&apos;s entries are not kept anywhere else: &quot;%1&quot; could not be written either. Try again, or save the diary into another folder?</source>
        <translation>

Die Einträge dieser Sitzung sind nirgends sonst gesichert: auch „%1“ konnte nicht geschrieben werden. Erneut versuchen oder das Tagebuch in einem anderen Ordner speichern?</translation>
    </message>
    <message>
        <source>

Nothing is lost: this run&apos;s entries stay in &quot;%1&quot; beside it and come back at the next start. Try again, or save the diary into another folder?</source>
        <translation>

Nichts geht verloren: Die Einträge dieser Sitzung bleiben in „%1“ daneben und kommen beim nächsten Start zurück. Erneut versuchen oder das Tagebuch in einem anderen Ordner speichern?</translation>
    </message>
    <message>
        <source>Quillmere did not end normally last time.</source>
        <translation>Quillmere wurde beim letzten Mal nicht normal beendet.</translation>
    </message>
    <message>
        <source> The entries of these days were recovered: %1.</source>
        <translation> Die Einträge dieser Tage wurden wiederhergestellt: %1.</translation>
    </message>
    <message>
        <source> The settings were recovered.</source>
        <translation> Die Einstellungen wurden wiederhergestellt.</translation>
    </message>
    <message>
        <source> The text being typed for %1 is as it was a few seconds before the end.</source>
        <translation> Der Text, der für den %1 gerade geschrieben wurde, ist so, wie er wenige Sekunden vor dem Ende war.</translation>
    </message>
    <message>
        <source> Part of &quot;%1&quot; was damaged and could not be read, so a change made then may be missing; the file is kept until Quillmere ends normally.</source>
        <translation> Ein Teil von „%1“ war beschädigt und konnte nicht gelesen werden, daher fehlt vielleicht eine Änderung aus dieser Zeit; die Datei bleibt erhalten, bis Quillmere normal beendet wird.</translation>
    </message>
    <message>
        <source>The diary was saved into &quot;%1&quot;.</source>
        <translation>Das Tagebuch wurde in „%1“ gespeichert.</translation>
    </message>
    <message>
        <source> The entries of this run also come back at the next start.</source>
        <translation> Die Einträge dieser Sitzung kommen außerdem beim nächsten Start zurück.</translation>
    </message>
    <message>
        <source>&quot;Journal.cds&quot; was changed by another program while Quillmere was running.</source>
        <translation>„Journal.cds“ wurde von einem anderen Programm geändert, während Quillmere lief.</translation>
    </message>
</context>
<context>
    <name>quillmere::EntryFiles</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist bereits vorhanden.
Soll die Datei ersetzt werden?</translation>
    </message>
    <message>
        <source>Import Document</source>
        <translation>Dokument importieren</translation>
    </message>
    <message>
        <source>All Supported Documents (*.*)|*.rtf;*.txt|Rich Text File (*.rtf)|*.rtf|Plain Text File (*.txt)|*.txt</source>
        <translation>Alle unterstützten Dokumente (*.*)|*.rtf;*.txt|Rich-Text-Datei (*.rtf)|*.rtf|Textdatei (*.txt)|*.txt</translation>
    </message>
    <message>
        <source>Rich Text Format (*.rtf)|*.rtf</source>
        <translation>Rich Text Format (*.rtf)|*.rtf</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Die Datei %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Die Datei %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Failed to Save Stream</source>
        <translation>Speichern des Datenstroms fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>quillmere::EntryPrint</name>
    <message>
        <source>Cannot create file %1</source>
        <translation>Die Datei %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>There is no default printer currently selected</source>
        <translation>Zurzeit ist kein Standarddrucker ausgewählt</translation>
    </message>
    <message>
        <source>Printer selected is not valid</source>
        <translation>Der ausgewählte Drucker ist ungültig</translation>
    </message>
    <message>
        <source>Printing in progress</source>
        <translation>Es wird bereits gedruckt</translation>
    </message>
    <message>
        <source>My Journal Entry For </source>
        <translation>Mein Tagebucheintrag vom </translation>
    </message>
</context>
<context>
    <name>quillmere::ExportCore</name>
    <message>
        <source>The day value %1 is not a calendar date</source>
        <translation>Der Tageswert %1 ist kein Kalenderdatum</translation>
    </message>
    <message>
        <source>Overwrite existing file </source>
        <translation>Vorhandene Datei überschreiben: </translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>Ja, alle</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>Nein, keine</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cannot export to &quot;%1&quot;: the folder does not exist.</source>
        <translation>Export nach „%1“ nicht möglich: Der Ordner existiert nicht.</translation>
    </message>
    <message>
        <source>Cannot export to &quot;%1&quot;: it is not a folder.</source>
        <translation>Export nach „%1“ nicht möglich: Das ist kein Ordner.</translation>
    </message>
    <message>
        <source>Cannot export to &quot;%1&quot;: no file can be created in this folder (it may be read-only or belong to another user). Please choose another folder.</source>
        <translation>Export nach „%1“ nicht möglich: In diesem Ordner kann keine Datei angelegt werden (er ist vielleicht schreibgeschützt oder gehört einem anderen Benutzer). Bitte einen anderen Ordner wählen.</translation>
    </message>
    <message>
        <source>, and %1 more</source>
        <translation> und %1 weitere</translation>
    </message>
    <message>
        <source>Exported %1 of %2 to &quot;%3&quot;.</source>
        <translation>%1 von %2 nach „%3“ exportiert.</translation>
    </message>
    <message>
        <source>entry</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>entries</source>
        <translation>Einträgen</translation>
    </message>
    <message>
        <source>%1 kept.</source>
        <translation>%1 behalten.</translation>
    </message>
    <message>
        <source>existing file was</source>
        <translation>vorhandene Datei wurde</translation>
    </message>
    <message>
        <source>existing files were</source>
        <translation>vorhandene Dateien wurden</translation>
    </message>
    <message>
        <source>%1 not be exported: %2.</source>
        <translation>%1 nicht exportiert werden: %2.</translation>
    </message>
    <message>
        <source>entry could</source>
        <translation>Eintrag konnte</translation>
    </message>
    <message>
        <source>entries could</source>
        <translation>Einträge konnten</translation>
    </message>
    <message>
        <source>%1 written before the export stopped.</source>
        <translation>%1 geschrieben, bevor der Export abbrach.</translation>
    </message>
    <message>
        <source>file was</source>
        <translation>Datei wurde</translation>
    </message>
    <message>
        <source>files were</source>
        <translation>Dateien wurden</translation>
    </message>
    <message>
        <source>The existing file &quot;%1&quot; was kept; nothing was written.</source>
        <translation>Die vorhandene Datei „%1“ wurde behalten; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>The diary was written to &quot;%1&quot; (%2).</source>
        <translation>Das Tagebuch wurde nach „%1“ geschrieben (%2).</translation>
    </message>
    <message>
        <source>day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>%1 not be read and %2 left out: %3.</source>
        <translation>%1 nicht gelesen werden und %2 ausgelassen: %3.</translation>
    </message>
    <message>
        <source>was</source>
        <translation>wurde</translation>
    </message>
    <message>
        <source>were</source>
        <translation>wurden</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: the PDF could not be made</source>
        <translation>„%1“ kann nicht geschrieben werden: Das PDF konnte nicht erstellt werden</translation>
    </message>
</context>
<context>
    <name>quillmere::FindDialog</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>&amp;Suchen nach:</translation>
    </message>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>Nur &amp;ganzes Wort suchen</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Groß-/&amp;Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Aufwärts</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>A&amp;bwärts</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>quillmere::FormatCommands</name>
    <message>
        <source>Import...</source>
        <translation>Importieren...</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportieren...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>Align Left</source>
        <translation>Linksbündig</translation>
    </message>
    <message>
        <source>Align Center</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>Align Right</source>
        <translation>Rechtsbündig</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Find Text...</source>
        <translation>Text suchen...</translation>
    </message>
    <message>
        <source>Full Database Text Search...</source>
        <translation>Volltextsuche im ganzen Tagebuch...</translation>
    </message>
    <message>
        <source>Font...</source>
        <translation>Schriftart...</translation>
    </message>
    <message>
        <source>Bullets</source>
        <translation>Aufzählung</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Highlight Colour...</source>
        <translation>Hervorhebungsfarbe...</translation>
    </message>
    <message>
        <source>Font Colour...</source>
        <translation>Schriftfarbe...</translation>
    </message>
    <message>
        <source>Insert Special Characters...</source>
        <translation>Sonderzeichen einfügen...</translation>
    </message>
    <message>
        <source>Insert Emoticon...</source>
        <translation>Emoticon einfügen...</translation>
    </message>
    <message>
        <source>Insert Picture...</source>
        <translation>Bild einfügen...</translation>
    </message>
    <message>
        <source>Insert Link...</source>
        <translation>Verknüpfung einfügen...</translation>
    </message>
    <message>
        <source>Move the selection to the clipboard</source>
        <translation>Die Auswahl in die Zwischenablage verschieben</translation>
    </message>
    <message>
        <source>Copy the selection to the clipboard</source>
        <translation>Die Auswahl in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Insert the clipboard at the selection</source>
        <translation>Die Zwischenablage an der Auswahl einfügen</translation>
    </message>
    <message>
        <source>Text Selection</source>
        <translation>Textauswahl</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Select the whole entry</source>
        <translation>Den ganzen Eintrag auswählen</translation>
    </message>
    <message>
        <source>Text Deletion</source>
        <translation>Text löschen</translation>
    </message>
    <message>
        <source>Clear Selection</source>
        <translation>Auswahl löschen</translation>
    </message>
    <message>
        <source>Delete the selected text</source>
        <translation>Den ausgewählten Text löschen</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alles löschen</translation>
    </message>
    <message>
        <source>Empty the whole entry</source>
        <translation>Den ganzen Eintrag leeren</translation>
    </message>
    <message>
        <source>Text Formatting</source>
        <translation>Textformat</translation>
    </message>
    <message>
        <source>Switch bold on or off</source>
        <translation>Fett ein- oder ausschalten</translation>
    </message>
    <message>
        <source>Switch italic on or off</source>
        <translation>Kursiv ein- oder ausschalten</translation>
    </message>
    <message>
        <source>Switch underline on or off</source>
        <translation>Unterstreichen ein- oder ausschalten</translation>
    </message>
    <message>
        <source>Formatting</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Bold, italic and underline</source>
        <translation>Fett, kursiv und unterstrichen</translation>
    </message>
</context>
<context>
    <name>quillmere::JournalCipher</name>
    <message>
        <source>&quot;%1&quot; is encrypted with another password</source>
        <translation>„%1“ ist mit einem anderen Passwort verschlüsselt</translation>
    </message>
</context>
<context>
    <name>quillmere::JournalSalvage</name>
    <message>
        <source>the entry is too large</source>
        <translation>der Eintrag ist zu groß</translation>
    </message>
    <message>
        <source>bytes after the end of the entry</source>
        <translation>Bytes nach dem Ende des Eintrags</translation>
    </message>
    <message>
        <source>the row is cut off</source>
        <translation>die Zeile ist abgeschnitten</translation>
    </message>
    <message>
        <source>the row&apos;s flags are damaged</source>
        <translation>die Kennzeichen der Zeile sind beschädigt</translation>
    </message>
    <message>
        <source>the date is damaged</source>
        <translation>das Datum ist beschädigt</translation>
    </message>
    <message>
        <source>the row has no date or no entry</source>
        <translation>die Zeile hat kein Datum oder keinen Eintrag</translation>
    </message>
    <message>
        <source>the entry does not inflate (%1)</source>
        <translation>der Eintrag lässt sich nicht entpacken (%1)</translation>
    </message>
    <message>
        <source>a second record for the day, not kept</source>
        <translation>ein zweiter Datensatz für den Tag, nicht behalten</translation>
    </message>
    <message>
        <source>the row&apos;s status byte is damaged (0x%1)</source>
        <translation>das Statusbyte der Zeile ist beschädigt (0x%1)</translation>
    </message>
</context>
<context>
    <name>quillmere::JournalSearch</name>
    <message>
        <source>Could not read: </source>
        <translation>Nicht lesbar: </translation>
    </message>
    <message>
        <source>, and %1 more</source>
        <translation> und %1 weitere</translation>
    </message>
</context>
<context>
    <name>quillmere::JournalSession</name>
    <message>
        <source>Cannot read the %1 &quot;%2&quot;: %3

%4</source>
        <translation>%1 „%2“ kann nicht gelesen werden: %3

%4</translation>
    </message>
    <message>
        <source>Its intact days can be rescued into a new file with the journal tool: quillmere-journal salvage &quot;%1&quot; Rescued.cds</source>
        <translation>Seine unversehrten Tage lassen sich mit dem Journal-Werkzeug in eine neue Datei retten: quillmere-journal salvage &quot;%1&quot; Rescued.cds</translation>
    </message>
    <message>
        <source>Until it can be read, no password is asked and new entries take no default font. The file is left as it is.</source>
        <translation>Bis sie gelesen werden kann, wird kein Passwort abgefragt, und neue Einträge erhalten keine Standardschrift. Die Datei bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>The diary is locked.</source>
        <translation>Das Tagebuch ist gesperrt.</translation>
    </message>
    <message>
        <source>The diary could not be read in this run, so its encryption cannot be changed.</source>
        <translation>Das Tagebuch konnte in dieser Sitzung nicht gelesen werden, daher lässt sich seine Verschlüsselung nicht ändern.</translation>
    </message>
</context>
<context>
    <name>quillmere::JournalSessionRescue</name>
    <message>
        <source>Cannot write &quot;%1&quot;: too many damaged copies of the diary</source>
        <translation>„%1“ kann nicht geschrieben werden: zu viele beschädigte Kopien des Tagebuchs</translation>
    </message>
</context>
<context>
    <name>quillmere::MessageBoxes</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
</context>
<context>
    <name>quillmere::PictureCommands</name>
    <message>
        <source>All (*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf;*.png;*.webp)|*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf;*.png;*.webp|CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|PNG Image (*.png)|*.png|WebP Image (*.webp)|*.webp</source>
        <translation>Alle (*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf;*.png;*.webp)|*.gif;*.jpg;*.jpeg;*.bmp;*.emf;*.wmf;*.png;*.webp|CompuServe-GIF-Bild (*.gif)|*.gif|JPEG-Bilddatei (*.jpg)|*.jpg|JPEG-Bilddatei (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Erweiterte Metadateien (*.emf)|*.emf|Metadateien (*.wmf)|*.wmf|PNG-Bild (*.png)|*.png|WebP-Bild (*.webp)|*.webp</translation>
    </message>
    <message>
        <source>All Files (*.*)|*.*|Images (*.bmp, *.jpg, *.png, *.gif)|*.bmp;*.jpg;*.jpeg;*.png;*.gif</source>
        <translation>Alle Dateien (*.*)|*.*|Bilder (*.bmp, *.jpg, *.png, *.gif)|*.bmp;*.jpg;*.jpeg;*.png;*.gif</translation>
    </message>
    <message>
        <source>Link To Selected File</source>
        <translation>Verknüpfung zur ausgewählten Datei</translation>
    </message>
    <message>
        <source>The picture in %1 cannot be inserted: only metafiles that hold a bitmap can be shown.</source>
        <translation>Das Bild in %1 kann nicht eingefügt werden: Nur Metadateien, die eine Bitmap enthalten, können gezeigt werden.</translation>
    </message>
</context>
<context>
    <name>quillmere::PictureFile</name>
    <message>
        <source>Bitmap image is not valid</source>
        <translation>Das Bitmap-Bild ist ungültig</translation>
    </message>
    <message>
        <source>%1 image is not valid</source>
        <translation>Das %1-Bild ist ungültig</translation>
    </message>
    <message>
        <source>Unknown picture file extension (.%1)</source>
        <translation>Unbekannte Endung einer Bilddatei (.%1)</translation>
    </message>
    <message>
        <source>%1 is not a picture this program can read</source>
        <translation>%1 ist kein Bild, das dieses Programm lesen kann</translation>
    </message>
    <message>
        <source>GIF image is not valid (%1)</source>
        <translation>Das GIF-Bild ist ungültig (%1)</translation>
    </message>
    <message>
        <source>the file ends too early</source>
        <translation>die Datei endet zu früh</translation>
    </message>
    <message>
        <source>bad LZW code</source>
        <translation>fehlerhafter LZW-Code</translation>
    </message>
    <message>
        <source>bad LZW code size</source>
        <translation>fehlerhafte LZW-Codegröße</translation>
    </message>
    <message>
        <source>the frame is empty</source>
        <translation>das Einzelbild ist leer</translation>
    </message>
    <message>
        <source>it holds no image</source>
        <translation>sie enthält kein Bild</translation>
    </message>
    <message>
        <source>unknown block</source>
        <translation>unbekannter Block</translation>
    </message>
    <message>
        <source>no GIF header</source>
        <translation>kein GIF-Kopf</translation>
    </message>
    <message>
        <source>the image is too large</source>
        <translation>das Bild ist zu groß</translation>
    </message>
</context>
<context>
    <name>quillmere::Program</name>
    <message>
        <source>Quillmere cannot write to its own folder &quot;%1&quot;, so your diary is kept in &quot;%2&quot;.</source>
        <translation>Quillmere kann nicht in seinen eigenen Ordner „%1“ schreiben, daher wird Ihr Tagebuch in „%2“ geführt.</translation>
    </message>
</context>
<context>
    <name>quillmere::RecoveryLog</name>
    <message>
        <source>&quot;%1&quot; is encrypted with another password and could not be replayed; it was kept as &quot;%2&quot;</source>
        <translation>„%1“ ist mit einem anderen Passwort verschlüsselt und konnte nicht eingespielt werden; die Datei wurde als „%2“ behalten</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is encrypted and could not be replayed without the diary&apos;s password; it was kept as &quot;%2&quot;</source>
        <translation>„%1“ ist verschlüsselt und konnte ohne das Passwort des Tagebuchs nicht eingespielt werden; die Datei wurde als „%2“ behalten</translation>
    </message>
</context>
<context>
    <name>quillmere::RichEditor</name>
    <message>
        <source>Failed to Load Stream</source>
        <translation>Laden des Datenstroms fehlgeschlagen</translation>
    </message>
    <message>
        <source>%1 holds no picture that can be inserted.</source>
        <translation>%1 enthält kein Bild, das eingefügt werden kann.</translation>
    </message>
    <message>
        <source>The pasted picture cannot be read.</source>
        <translation>Das eingefügte Bild kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>There is not enough memory for the picture.</source>
        <translation>Für das Bild ist nicht genug Arbeitsspeicher frei.</translation>
    </message>
</context>
<context>
    <name>quillmere::Rtf</name>
    <message>
        <source>The text is not in RTF format: it does not start with {\rtf.</source>
        <translation>Der Text ist nicht im RTF-Format: Er beginnt nicht mit {\rtf.</translation>
    </message>
    <message>
        <source>The RTF is damaged: its groups are nested more than %1 deep.</source>
        <translation>Das RTF ist beschädigt: Seine Gruppen sind mehr als %1 Ebenen tief verschachtelt.</translation>
    </message>
    <message>
        <source>The data is not text: it holds NUL bytes.</source>
        <translation>Die Daten sind kein Text: Sie enthalten NUL-Bytes.</translation>
    </message>
</context>
<context>
    <name>quillmere::SealedFile</name>
    <message>
        <source>&quot;%1&quot; has an unreadable encryption header: its key would take %2 passes over %3 KiB of memory to derive</source>
        <translation>„%1“ hat einen unlesbaren Verschlüsselungskopf: Sein Schlüssel bräuchte %2 Durchläufe über %3 KiB Speicher</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a readable encrypted file: its header is cut short</source>
        <translation>„%1“ ist keine lesbare verschlüsselte Datei: Ihr Kopf ist abgeschnitten</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was encrypted by a newer version of Quillmere (form %2); this version reads form %3</source>
        <translation>„%1“ wurde von einer neueren Quillmere-Version verschlüsselt (Form %2); diese Version liest Form %3</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has an unreadable encryption header: form %2, key derivation %3</source>
        <translation>„%1“ hat einen unlesbaren Verschlüsselungskopf: Form %2, Schlüsselableitung %3</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has an unreadable encryption header: chunks of %2 bytes</source>
        <translation>„%1“ hat einen unlesbaren Verschlüsselungskopf: Blöcke zu %2 Bytes</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a readable encrypted log: its header is cut short</source>
        <translation>„%1“ ist kein lesbares verschlüsseltes Protokoll: Sein Kopf ist abgeschnitten</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is encrypted with another password</source>
        <translation>„%1“ ist mit einem anderen Passwort verschlüsselt</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is cut short: it ends after %2 encrypted chunks without its final chunk</source>
        <translation>„%1“ ist abgeschnitten: Die Datei endet nach %2 verschlüsselten Blöcken ohne ihren letzten Block</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged: encrypted chunk %2 (at byte %3) was changed or cut short</source>
        <translation>„%1“ ist beschädigt: Der verschlüsselte Block %2 (bei Byte %3) wurde verändert oder abgeschnitten</translation>
    </message>
</context>
<context>
    <name>quillmere::SecretKey</name>
    <message>
        <source>Not enough memory to hold the key</source>
        <translation>Nicht genug Speicher für den Schlüssel</translation>
    </message>
    <message>
        <source>The encryption library could not be started</source>
        <translation>Die Verschlüsselungsbibliothek konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>Key derivation parameters out of bounds</source>
        <translation>Parameter der Schlüsselableitung außerhalb der Grenzen</translation>
    </message>
    <message>
        <source>Not enough memory to derive the key</source>
        <translation>Nicht genug Speicher, um den Schlüssel abzuleiten</translation>
    </message>
</context>
<context>
    <name>quillmere::SettingsEncryption</name>
    <message>
        <source>Invalid Password.</source>
        <translation>Falsches Passwort.</translation>
    </message>
</context>
<context>
    <name>quillmere::SpellChecking</name>
    <message>
        <source>Add to Dictionary</source>
        <translation>Zum Wörterbuch hinzufügen</translation>
    </message>
    <message>
        <source>Accept this word from now on, in every entry</source>
        <translation>Dieses Wort ab jetzt in jedem Eintrag annehmen</translation>
    </message>
    <message>
        <source>Ignore All</source>
        <translation>Alle ignorieren</translation>
    </message>
    <message>
        <source>Accept this word until Quillmere ends</source>
        <translation>Dieses Wort bis zum Ende von Quillmere annehmen</translation>
    </message>
</context>
<context>
    <name>quillmere::Spelling</name>
    <message>
        <source>No spelling dictionary for &quot;%1&quot; is installed</source>
        <translation>Für „%1“ ist kein Rechtschreibwörterbuch installiert</translation>
    </message>
    <message>
        <source>Cannot add &quot;%1&quot; to the personal dictionary: the word list in &quot;%2&quot; cannot be written</source>
        <translation>„%1“ kann nicht ins persönliche Wörterbuch aufgenommen werden: Die Wortliste in „%2“ kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>No spelling dictionary for %1 is installed</source>
        <translation>Für %1 ist kein Rechtschreibwörterbuch installiert</translation>
    </message>
</context>
<context>
    <name>quillmere::Store</name>
    <message>
        <source>Not enough memory for the data packet</source>
        <translation>Nicht genug Speicher für das Datenpaket</translation>
    </message>
    <message>
        <source>A required value is missing</source>
        <translation>Ein benötigter Wert fehlt</translation>
    </message>
    <message>
        <source>Data packet operation out of order</source>
        <translation>Datenpaket-Operation in falscher Reihenfolge</translation>
    </message>
    <message>
        <source>Unsupported field type</source>
        <translation>Nicht unterstützter Feldtyp</translation>
    </message>
    <message>
        <source>The data packet has no field descriptions</source>
        <translation>Das Datenpaket hat keine Feldbeschreibungen</translation>
    </message>
    <message>
        <source>Not a valid data packet</source>
        <translation>Kein gültiges Datenpaket</translation>
    </message>
    <message>
        <source>Dataset engine error</source>
        <translation>Fehler der Datenmenge</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>das Speicherkontingent ist aufgebraucht</translation>
    </message>
    <message>
        <source>Cannot open</source>
        <translation>Öffnen nicht möglich:</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>Cannot read</source>
        <translation>Lesen nicht möglich:</translation>
    </message>
    <message>
        <source>Cannot write</source>
        <translation>Schreiben nicht möglich:</translation>
    </message>
    <message>
        <source>Cannot remove</source>
        <translation>Löschen nicht möglich:</translation>
    </message>
    <message>
        <source>Cannot lock</source>
        <translation>Sperren nicht möglich:</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>only %1 of %2 bytes reached the disk</source>
        <translation>nur %1 von %2 Bytes erreichten den Datenträger</translation>
    </message>
    <message>
        <source>the file was cut short</source>
        <translation>die Datei wurde gekürzt</translation>
    </message>
    <message>
        <source>the file does not read back as written</source>
        <translation>die Datei liest sich nicht so zurück, wie sie geschrieben wurde</translation>
    </message>
    <message>
        <source>the previous version could not be kept as &quot;%1&quot; (%2)</source>
        <translation>die vorige Fassung konnte nicht als „%1“ behalten werden (%2)</translation>
    </message>
    <message>
        <source>Cannot create</source>
        <translation>Anlegen nicht möglich:</translation>
    </message>
    <message>
        <source>damaged data packet (%1)</source>
        <translation>beschädigtes Datenpaket (%1)</translation>
    </message>
    <message>
        <source>header cut short</source>
        <translation>Kopf abgeschnitten</translation>
    </message>
    <message>
        <source>header size</source>
        <translation>Kopfgröße</translation>
    </message>
    <message>
        <source>column count</source>
        <translation>Spaltenzahl</translation>
    </message>
    <message>
        <source>column descriptor cut short</source>
        <translation>Spaltenbeschreibung abgeschnitten</translation>
    </message>
    <message>
        <source>attribute count</source>
        <translation>Attributzahl</translation>
    </message>
    <message>
        <source>packet attribute count missing</source>
        <translation>Zahl der Paketattribute fehlt</translation>
    </message>
    <message>
        <source>packet attribute count</source>
        <translation>Zahl der Paketattribute</translation>
    </message>
    <message>
        <source>attribute cut short</source>
        <translation>Attribut abgeschnitten</translation>
    </message>
    <message>
        <source>attribute value cut short</source>
        <translation>Attributwert abgeschnitten</translation>
    </message>
    <message>
        <source>row count</source>
        <translation>Zeilenzahl</translation>
    </message>
    <message>
        <source>row cut short</source>
        <translation>Zeile abgeschnitten</translation>
    </message>
    <message>
        <source>value runs past the end of the data</source>
        <translation>Wert reicht über das Ende der Daten hinaus</translation>
    </message>
    <message>
        <source>Cannot perform this operation on a closed dataset</source>
        <translation>Diese Operation ist bei einer geschlossenen Datenmenge nicht möglich</translation>
    </message>
    <message>
        <source>Dataset not in edit or insert mode</source>
        <translation>Datenmenge nicht im Bearbeitungs- oder Einfügemodus</translation>
    </message>
    <message>
        <source>Missing data provider or data packet</source>
        <translation>Datenquelle oder Datenpaket fehlt</translation>
    </message>
    <message>
        <source>Cannot modify an empty dataset</source>
        <translation>Eine leere Datenmenge kann nicht geändert werden</translation>
    </message>
    <message>
        <source>Field &apos;%1&apos; not found</source>
        <translation>Feld „%1“ nicht gefunden</translation>
    </message>
    <message>
        <source>&apos;%1.%2&apos; is not a valid timestamp</source>
        <translation>„%1.%2“ ist kein gültiger Zeitstempel</translation>
    </message>
    <message>
        <source>Cannot create folder</source>
        <translation>Ordner anlegen nicht möglich:</translation>
    </message>
    <message>
        <source>the file was cut short or changed by another program</source>
        <translation>die Datei wurde gekürzt oder von einem anderen Programm geändert</translation>
    </message>
</context>
<context>
    <name>quillmere::StoredTable</name>
    <message>
        <source>&quot;%1&quot; is encrypted: its password is needed to open it</source>
        <translation>„%1“ ist verschlüsselt: Zum Öffnen wird sein Passwort gebraucht</translation>
    </message>
</context>
<context>
    <name>quillmere::TDLLForm</name>
    <message>
        <source>Character Map</source>
        <translation>Zeichentabelle</translation>
    </message>
    <message>
        <source>Current Font Selection</source>
        <translation>Gewählte Schriftart</translation>
    </message>
    <message>
        <source>ALT + </source>
        <translation>ALT + </translation>
    </message>
    <message>
        <source>  Insert</source>
        <translation>  Einfügen</translation>
    </message>
    <message>
        <source>Insert Selected Character</source>
        <translation>Ausgewähltes Zeichen einfügen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Dazu</translation>
    </message>
    <message>
        <source>Insert Line</source>
        <translation>Zeile einf.</translation>
    </message>
    <message>
        <source>  Close</source>
        <translation>  Fertig</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Characters</source>
        <translation>Zeichen</translation>
    </message>
    <message>
        <source>Characters to insert</source>
        <translation>Einzufügende Zeichen</translation>
    </message>
</context>
<context>
    <name>quillmere::TExportChoiceDialog</name>
    <message>
        <source>Export All Entries</source>
        <translation>Alle Einträge exportieren</translation>
    </message>
    <message>
        <source>One RTF file per entry</source>
        <translation>Eine RTF-Datei je Eintrag</translation>
    </message>
    <message>
        <source>One HTML file</source>
        <translation>Eine HTML-Datei</translation>
    </message>
    <message>
        <source>One Markdown file</source>
        <translation>Eine Markdown-Datei</translation>
    </message>
    <message>
        <source>One PDF file</source>
        <translation>Eine PDF-Datei</translation>
    </message>
    <message>
        <source>&amp;All days</source>
        <translation>&amp;Alle Tage</translation>
    </message>
    <message>
        <source>F&amp;rom</source>
        <translation>&amp;Von</translation>
    </message>
    <message>
        <source>From day</source>
        <translation>Von Tag</translation>
    </message>
    <message>
        <source>To day</source>
        <translation>Bis Tag</translation>
    </message>
    <message>
        <source>&amp;to</source>
        <translation>&amp;bis</translation>
    </message>
    <message>
        <source>E&amp;xport as:</source>
        <translation>E&amp;xportieren als:</translation>
    </message>
    <message>
        <source>Days:</source>
        <translation>Tage:</translation>
    </message>
</context>
<context>
    <name>quillmere::TExporter</name>
    <message>
        <source>The chosen item is not a folder of the file system. Please choose a folder on a disk to export the entries to.</source>
        <translation>Das Gewählte ist kein Ordner des Dateisystems. Bitte einen Ordner auf einem Datenträger wählen, in den die Einträge exportiert werden.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Fortfahren</translation>
    </message>
    <message>
        <source>Continue Without Asking</source>
        <translation>Ohne Nachfrage fortfahren</translation>
    </message>
    <message>
        <source>Stop Export</source>
        <translation>Export abbrechen</translation>
    </message>
    <message>
        <source>Export All Entries</source>
        <translation>Alle Einträge exportieren</translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation>Exportiere...</translation>
    </message>
    <message>
        <source>Finalizing...</source>
        <translation>Abschluss...</translation>
    </message>
    <message>
        <source>Files exported:</source>
        <translation>Dateien:</translation>
    </message>
    <message>
        <source>Days exported:</source>
        <translation>Tage:</translation>
    </message>
</context>
<context>
    <name>quillmere::TProgressCyl</name>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>quillmere::TfrmCalendar</name>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Select a date to enable OK button</source>
        <translation>Ein Datum wählen, um OK freizugeben</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Voriger Monat</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>has an entry</source>
        <translation>hat einen Eintrag</translation>
    </message>
</context>
<context>
    <name>quillmere::TfrmDBSearch</name>
    <message>
        <source>

This entry is damaged and its text could not be searched; every other day was searched.</source>
        <translation>

Dieser Eintrag ist beschädigt, sein Text konnte nicht durchsucht werden; alle anderen Tage wurden durchsucht.</translation>
    </message>
    <message>
        <source>

These entries are damaged and their text could not be searched; every other day was searched.</source>
        <translation>

Diese Einträge sind beschädigt, ihr Text konnte nicht durchsucht werden; alle anderen Tage wurden durchsucht.</translation>
    </message>
    <message>
        <source>Full Database Text Search</source>
        <translation>Volltextsuche im Tagebuch</translation>
    </message>
    <message>
        <source>Database Text Search</source>
        <translation>Tagebuch durchsuchen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Text Search Criteria</source>
        <translation>Suchkriterien</translation>
    </message>
    <message>
        <source>From Date</source>
        <translation>Von Datum</translation>
    </message>
    <message>
        <source>To Date</source>
        <translation>Bis Datum</translation>
    </message>
    <message>
        <source>Text to search for</source>
        <translation>Gesuchter Text</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Ergebnisse</translation>
    </message>
    <message>
        <source>Double-Click to view journal entry</source>
        <translation>Doppelklick zeigt den Tagebucheintrag</translation>
    </message>
    <message>
        <source>No day found</source>
        <translation>Kein Tag gefunden</translation>
    </message>
    <message>
        <source>1 day found</source>
        <translation>1 Tag gefunden</translation>
    </message>
    <message>
        <source>%1 days found</source>
        <translation>%1 Tage gefunden</translation>
    </message>
    <message>
        <source>Search stopped: %1</source>
        <translation>Suche angehalten: %1</translation>
    </message>
    <message>
        <source>Enter or double-click shows the day</source>
        <translation>Eingabetaste oder Doppelklick zeigt den Tag</translation>
    </message>
</context>
<context>
    <name>quillmere::TfrmEmoticons</name>
    <message>
        <source>Angry   :x</source>
        <translation>Wütend   :x</translation>
    </message>
    <message>
        <source>Smiley   :)</source>
        <translation>Smiley   :)</translation>
    </message>
    <message>
        <source>Tongue   :p or :P</source>
        <translation>Zunge   :p oder :P</translation>
    </message>
    <message>
        <source>Laugh out Loud   :lol:</source>
        <translation>Laut lachen   :lol:</translation>
    </message>
    <message>
        <source>Puke or Sick   +o(</source>
        <translation>Übel oder krank   +o(</translation>
    </message>
    <message>
        <source>Oh My!   :o</source>
        <translation>Oh je!   :o</translation>
    </message>
    <message>
        <source>Unsure or Confused   :s or :?</source>
        <translation>Unsicher oder verwirrt   :s oder :?</translation>
    </message>
    <message>
        <source>Wacko   x)</source>
        <translation>Durchgeknallt   x)</translation>
    </message>
    <message>
        <source>ph34r</source>
        <translation>ph34r</translation>
    </message>
    <message>
        <source>Crying   :&apos;(</source>
        <translation>Weinen   :&apos;(</translation>
    </message>
    <message>
        <source>Mellow or Uninterested   :|</source>
        <translation>Gleichgültig   :|</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Sad   :(</source>
        <translation>Traurig   :(</translation>
    </message>
    <message>
        <source>Big Smile!   :D</source>
        <translation>Breites Grinsen!   :D</translation>
    </message>
    <message>
        <source>Cool   8)</source>
        <translation>Cool   8)</translation>
    </message>
    <message>
        <source>Wink   ;)</source>
        <translation>Zwinkern   ;)</translation>
    </message>
    <message>
        <source>Crazy   8x)</source>
        <translation>Verrückt   8x)</translation>
    </message>
    <message>
        <source>Nea</source>
        <translation>Nee</translation>
    </message>
    <message>
        <source>Sarcastic</source>
        <translation>Sarkastisch</translation>
    </message>
    <message>
        <source>Bye-Bye</source>
        <translation>Tschüss</translation>
    </message>
    <message>
        <source>Dancing</source>
        <translation>Tanzen</translation>
    </message>
    <message>
        <source>Pardon</source>
        <translation>Verzeihung</translation>
    </message>
    <message>
        <source>Happy Smile   :)</source>
        <translation>Fröhliches Lächeln   :)</translation>
    </message>
    <message>
        <source>Hello</source>
        <translation>Hallo</translation>
    </message>
    <message>
        <source>Let&apos;s drink on that</source>
        <translation>Darauf trinken wir</translation>
    </message>
    <message>
        <source>Praise</source>
        <translation>Lob</translation>
    </message>
    <message>
        <source>Bomb</source>
        <translation>Bombe</translation>
    </message>
    <message>
        <source>Yahoo!</source>
        <translation>Juhu!</translation>
    </message>
    <message>
        <source>Truce or Surrender</source>
        <translation>Waffenstillstand</translation>
    </message>
    <message>
        <source>Emotional Icons</source>
        <translation>Emoticons</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>quillmere::TfrmLogin</name>
    <message>
        <source>Login Window</source>
        <translation>Anmeldung</translation>
    </message>
    <message>
        <source>Enter Password</source>
        <translation>Passwort eingeben</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Invalid Password.</source>
        <translation>Falsches Passwort.</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
</context>
<context>
    <name>quillmere::TfrmMain</name>
    <message>
        <source>The rows of these days in &quot;%1&quot; are damaged (a status byte Quillmere never writes); their entries are shown and kept: %2.</source>
        <translation>Die Zeilen dieser Tage in „%1“ sind beschädigt (ein Statusbyte, das Quillmere nie schreibt); ihre Einträge werden gezeigt und behalten: %2.</translation>
    </message>
    <message>
        <source>The text of %1 could not be stored in the diary. Save it as a rich text file before Quillmere ends?</source>
        <translation>Der Text vom %1 konnte nicht im Tagebuch gespeichert werden. Vor dem Beenden als Rich-Text-Datei speichern?</translation>
    </message>
    <message>
        <source>Justify</source>
        <translation>Blocksatz</translation>
    </message>
    <message>
        <source>Change Header Font..</source>
        <translation>Schriftart des Datums ändern..</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Export All...</source>
        <translation>Alles exportieren...</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Kalender</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Tool bar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>Entry for %1</source>
        <extracomment>%1 is the day, as &quot;10 December 2026&quot;.</extracomment>
        <translation>Eintrag vom %1</translation>
    </message>
    <message>
        <source>Home page: %1</source>
        <translation>Homepage: %1</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>About Quillmere</source>
        <translation>Über Quillmere</translation>
    </message>
    <message>
        <source>On This Day (%1)</source>
        <translation>Rückblick (%1)</translation>
    </message>
    <message>
        <source>On This Day</source>
        <translation>Rückblick</translation>
    </message>
    <message>
        <source>Earlier years of the day shown</source>
        <translation>Frühere Jahre des gezeigten Tages</translation>
    </message>
</context>
<context>
    <name>quillmere::TfrmOnThisDay</name>
    <message>
        <source>On This Day</source>
        <translation>Rückblick</translation>
    </message>
    <message>
        <source>Double-click or press Enter to show this day</source>
        <translation>Doppelklick oder Eingabetaste zeigt diesen Tag</translation>
    </message>
    <message>
        <source>Entries of this day in earlier years</source>
        <translation>Einträge dieses Tages aus früheren Jahren</translation>
    </message>
    <message>
        <source>The whole diary</source>
        <translation>Das ganze Tagebuch</translation>
    </message>
    <message>
        <source>Show Day</source>
        <translation>Tag zeigen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Earlier years on %1</source>
        <translation>Frühere Jahre am %1</translation>
    </message>
    <message>
        <source>This entry could not be read: %1</source>
        <translation>Dieser Eintrag konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Nothing was written on this day in earlier years.</source>
        <translation>An diesem Tag wurde in früheren Jahren nichts geschrieben.</translation>
    </message>
    <message>
        <source>1 day</source>
        <translation>1 Tag</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 Tage</translation>
    </message>
    <message>
        <source>Longest run: %1</source>
        <translation>Längste Serie: %1</translation>
    </message>
    <message>
        <source>, from %1</source>
        <translation>, ab %1</translation>
    </message>
    <message>
        <source>Days written: %1</source>
        <translation>Geschriebene Tage: %1</translation>
    </message>
    <message>
        <source> (%1 could not be read)</source>
        <translation> (%1 nicht lesbar)</translation>
    </message>
    <message>
        <source>Words written: %1</source>
        <translation>Geschriebene Wörter: %1</translation>
    </message>
    <message>
        <source>Current run: %1</source>
        <translation>Aktuelle Serie: %1</translation>
    </message>
</context>
<context>
    <name>quillmere::TfrmProgress</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Exporting</source>
        <translation>Export läuft</translation>
    </message>
    <message>
        <source>Stop Copying</source>
        <translation>Kopieren abbrechen</translation>
    </message>
    <message>
        <source>Files exported:</source>
        <translation>Exportiert:</translation>
    </message>
    <message>
        <source>Export Complete</source>
        <translation>Export fertig</translation>
    </message>
    <message>
        <source>Finalizing...</source>
        <translation>Abschluss...</translation>
    </message>
</context>
<context>
    <name>quillmere::TfrmSettings</name>
    <message>
        <source>clBlack</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>clMaroon</source>
        <translation>Kastanienbraun</translation>
    </message>
    <message>
        <source>clGreen</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>clOlive</source>
        <translation>Oliv</translation>
    </message>
    <message>
        <source>clNavy</source>
        <translation>Marineblau</translation>
    </message>
    <message>
        <source>clPurple</source>
        <translation>Violett</translation>
    </message>
    <message>
        <source>clTeal</source>
        <translation>Blaugrün</translation>
    </message>
    <message>
        <source>clGray</source>
        <translation>Grau</translation>
    </message>
    <message>
        <source>clSilver</source>
        <translation>Silber</translation>
    </message>
    <message>
        <source>clRed</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>clLime</source>
        <translation>Hellgrün</translation>
    </message>
    <message>
        <source>clYellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>clBlue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>clFuchsia</source>
        <translation>Fuchsia</translation>
    </message>
    <message>
        <source>clAqua</source>
        <translation>Aquamarin</translation>
    </message>
    <message>
        <source>clWhite</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>clMoneyGreen</source>
        <translation>Mintgrün</translation>
    </message>
    <message>
        <source>clSkyBlue</source>
        <translation>Himmelblau</translation>
    </message>
    <message>
        <source>clCream</source>
        <translation>Creme</translation>
    </message>
    <message>
        <source>clMedGray</source>
        <translation>Mittelgrau</translation>
    </message>
    <message>
        <source>Edit Password</source>
        <translation>Passwort ändern</translation>
    </message>
    <message>
        <source>Enter Password</source>
        <translation>Passwort eingeben</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbruch</translation>
    </message>
    <message>
        <source>Default Font Settings</source>
        <translation>Standardschrift neuer Einträge</translation>
    </message>
    <message>
        <source>Font Name</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>Font Color</source>
        <translation>Schriftfarbe</translation>
    </message>
    <message>
        <source>Spelling</source>
        <translation>Rechtschreibung</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>No spelling dictionary is installed. Install the Debian package %1 (or the hunspell package of your language) to check spelling.</source>
        <translation>Es ist kein Rechtschreibwörterbuch installiert. Installieren Sie das Debian-Paket %1 (oder das hunspell-Paket Ihrer Sprache), um die Rechtschreibung zu prüfen.</translation>
    </message>
    <message>
        <source>The language misspelt words are underlined in, or Off</source>
        <translation>Die Sprache, in der falsch geschriebene Wörter unterstrichen werden, oder Aus</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Encrypt the diary</source>
        <translation>Tagebuch verschlüsseln</translation>
    </message>
    <message>
        <source>Encrypt every file that holds your entries with the password above. </source>
        <translation>Jede Datei mit Ihren Einträgen mit dem Passwort oben verschlüsseln. </translation>
    </message>
    <message>
        <source>Type the password that is to encrypt the diary.</source>
        <translation>Geben Sie das Passwort ein, mit dem das Tagebuch verschlüsselt werden soll.</translation>
    </message>
    <message>
        <source>The two passwords differ; nothing was changed.</source>
        <translation>Die beiden Passwörter sind verschieden; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>unverändert</translation>
    </message>
</context>
</TS>
