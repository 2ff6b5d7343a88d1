<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Interaction</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Could not open source file: &quot;%1&quot;
<byte value="xd"/>This could happen if the file is write-protected.
<byte value="xd"/>Remove the write-protection and try again.</source>
        <translation>Die Quelldatei konnte nicht geöffnet werden: „%1“
<byte value="xd"/>Das kann passieren, wenn die Datei schreibgeschützt ist.
<byte value="xd"/>Heben Sie den Schreibschutz auf und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Could not open source file: %1</source>
        <translation>Die Quelldatei konnte nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>The file is too short to be a TaZEN encrypted file: %1</source>
        <translation>Die Datei ist zu kurz für eine mit TaZEN verschlüsselte Datei: %1</translation>
    </message>
    <message>
        <source>Could not create destination file: %1</source>
        <translation>Die Zieldatei konnte nicht erstellt werden: %1</translation>
    </message>
    <message>
        <source>Wrong password for the file: %1</source>
        <translation>Falsches Passwort für die Datei: %1</translation>
    </message>
    <message>
        <source>Could not read the file: %1</source>
        <translation>Die Datei konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Could not write the file: %1</source>
        <translation>Die Datei konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Could not delete the file: %1</source>
        <translation>Die Datei konnte nicht gelöscht werden: %1</translation>
    </message>
    <message>
        <source>Source file %1 changed while it was read.</source>
        <translation>Die Quelldatei %1 wurde verändert, während sie gelesen wurde.</translation>
    </message>
    <message>
        <source>Encryption canceled</source>
        <translation>Verschlüsselung abgebrochen</translation>
    </message>
    <message>
        <source>Decryption canceled</source>
        <translation>Entschlüsselung abgebrochen</translation>
    </message>
    <message>
        <source>Source file %1 not deleted.</source>
        <translation>Die Quelldatei %1 wurde nicht gelöscht.</translation>
    </message>
    <message>
        <source>Source file %1 not thoroughly shredded.</source>
        <translation>Die Quelldatei %1 wurde nicht vollständig geschreddert.</translation>
    </message>
    <message>
        <source>An error occured while creating %1 executable.</source>
        <translation>Beim Erstellen der ausführbaren Datei aus %1 ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>Could not over-write the file: %1</source>
        <translation>Die Datei konnte nicht überschrieben werden: %1</translation>
    </message>
    <message>
        <source>Encrypting</source>
        <translation>Verschlüsselung</translation>
    </message>
    <message>
        <source>Decrypting</source>
        <translation>Entschlüsselung</translation>
    </message>
    <message>
        <source>Pass %1 of %2</source>
        <translation>Durchgang %1 von %2</translation>
    </message>
    <message>
        <source>Could not verify the encrypted file: %1</source>
        <translation>Die verschlüsselte Datei konnte nicht überprüft werden: %1</translation>
    </message>
    <message>
        <source>Could not verify the decrypted file: %1</source>
        <translation>Die entschlüsselte Datei konnte nicht überprüft werden: %1</translation>
    </message>
    <message>
        <source>Other names (hard links) still lead to its data.</source>
        <translation>Weitere Namen (harte Links) führen noch zu den Daten der Datei.</translation>
    </message>
    <message>
        <source>The file system keeps earlier copies of changed data (copy-on-write).</source>
        <translation>Das Dateisystem bewahrt frühere Kopien geänderter Daten auf (Copy-on-Write).</translation>
    </message>
    <message>
        <source>File shredding (Gutman pass-35)</source>
        <translation>Datei schreddern (Gutmann, 35 Durchgänge)</translation>
    </message>
    <message>
        <source>Shredding file:</source>
        <translation>Datei wird geschreddert:</translation>
    </message>
    <message>
        <source>Creating executable file</source>
        <translation>Ausführbare Datei wird erstellt</translation>
    </message>
    <message>
        <source>Creating the executable file: </source>
        <translation>Die ausführbare Datei wird erstellt: </translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>unchanged</source>
        <translation>unverändert</translation>
    </message>
    <message>
        <source>saved %1</source>
        <translation>gespeichert %1</translation>
    </message>
    <message>
        <source>saving failed: %1</source>
        <translation>Speichern fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The folder %1 is on a disk (%2), not in memory: the decrypted copy would be written to the disk, where it could be read back after it is removed.</source>
        <translation>Der Ordner %1 liegt auf einem Datenträger (%2), nicht im Arbeitsspeicher: Die entschlüsselte Kopie würde auf den Datenträger geschrieben, wo sie auch nach dem Entfernen noch gelesen werden könnte.</translation>
    </message>
    <message>
        <source>No private folder for the decrypted copy: %1</source>
        <translation>Kein privater Ordner für die entschlüsselte Kopie: %1</translation>
    </message>
    <message>
        <source>Could not make the private folder %1</source>
        <translation>Der private Ordner %1 konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>The encrypted file %1 is gone: the copy left behind is not saved back without it.</source>
        <translation>Die verschlüsselte Datei %1 ist nicht mehr da: Ohne sie wird die zurückgebliebene Kopie nicht zurückgespeichert.</translation>
    </message>
    <message>
        <source>Could not save %1 back: the file %2 beside it would be replaced on the way. Move %2 elsewhere, then save again.</source>
        <translation>%1 konnte nicht zurückgespeichert werden: Die Datei %2 daneben würde dabei ersetzt. Verschieben Sie %2 an einen anderen Ort und speichern Sie dann erneut.</translation>
    </message>
    <message>
        <source>%1 cannot be opened in place: its decrypted copy would have no name. Rename it first.</source>
        <translation>%1 kann nicht an Ort und Stelle geöffnet werden: seine entschlüsselte Kopie hätte keinen Namen. Benennen Sie die Datei zuerst um.</translation>
    </message>
    <message>
        <source>%1 cannot be opened in place: its decrypted copy would be named %2, as TaZEN&apos;s own record beside the copy is. Rename it first.</source>
        <translation>%1 kann nicht an Ort und Stelle geöffnet werden: seine entschlüsselte Kopie hieße %2, wie TaZENs eigener Vermerk neben der Kopie. Benennen Sie die Datei zuerst um.</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Schreiben in %1 nicht möglich</translation>
    </message>
</context>
<context>
    <name>Strength</name>
    <message>
        <source>Very weak</source>
        <translation>Sehr schwach</translation>
    </message>
    <message>
        <source>Weak</source>
        <translation>Schwach</translation>
    </message>
    <message>
        <source>Fair</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>Good</source>
        <translation>Gut</translation>
    </message>
    <message>
        <source>Strong</source>
        <translation>Stark</translation>
    </message>
    <message>
        <source>less than a second</source>
        <translation>weniger als einer Sekunde</translation>
    </message>
    <message>
        <source>about %1 second</source>
        <translation>etwa %1 Sekunde</translation>
    </message>
    <message>
        <source>about %1 seconds</source>
        <translation>etwa %1 Sekunden</translation>
    </message>
    <message>
        <source>about %1 minute</source>
        <translation>etwa %1 Minute</translation>
    </message>
    <message>
        <source>about %1 minutes</source>
        <translation>etwa %1 Minuten</translation>
    </message>
    <message>
        <source>about %1 hour</source>
        <translation>etwa %1 Stunde</translation>
    </message>
    <message>
        <source>about %1 hours</source>
        <translation>etwa %1 Stunden</translation>
    </message>
    <message>
        <source>about %1 day</source>
        <translation>etwa %1 Tag</translation>
    </message>
    <message>
        <source>about %1 days</source>
        <translation>etwa %1 Tagen</translation>
    </message>
    <message>
        <source>about %1 month</source>
        <translation>etwa %1 Monat</translation>
    </message>
    <message>
        <source>about %1 months</source>
        <translation>etwa %1 Monaten</translation>
    </message>
    <message>
        <source>about %1 year</source>
        <translation>etwa %1 Jahr</translation>
    </message>
    <message>
        <source>about %1 years</source>
        <translation>etwa %1 Jahren</translation>
    </message>
    <message>
        <source>about %1 thousand years</source>
        <translation>etwa %1.000 Jahren</translation>
    </message>
    <message>
        <source>about %1 million years</source>
        <translation>etwa %1 Mio. Jahren</translation>
    </message>
    <message>
        <source>about %1 billion years</source>
        <translation>etwa %1 Mrd. Jahren</translation>
    </message>
    <message>
        <source>more than a trillion years</source>
        <translation>mehr als einer Billion Jahren</translation>
    </message>
    <message>
        <source>%1: guessed in %2 by one current graphics card.</source>
        <translation>%1: von einer aktuellen Grafikkarte in %2 erraten.</translation>
    </message>
    <message>
        <source>about 1 thousand years</source>
        <translation>etwa 1.000 Jahren</translation>
    </message>
    <message>
        <source>about 1 million years</source>
        <translation>etwa 1 Mio. Jahren</translation>
    </message>
    <message>
        <source>about 1 billion years</source>
        <translation>etwa 1 Mrd. Jahren</translation>
    </message>
</context>
<context>
    <name>tazen::TAboutBox</name>
    <message>
        <source>Version 0.9 English</source>
        <translation>Version 0.9 Deutsch</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>Could not open helpfile: %1</source>
        <translation>Die Hilfedatei konnte nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>About TaZEN</source>
        <translation>Über TaZEN</translation>
    </message>
    <message>
        <source>TaZEN for Linux</source>
        <translation>TaZEN für Linux</translation>
    </message>
    <message>
        <source>Free software under the GNU GPL, version 3 or later</source>
        <translation>Freie Software unter der GNU GPL, Version 3 oder neuer</translation>
    </message>
    <message>
        <source>Feed-back:</source>
        <translation>Rückmeldungen:</translation>
    </message>
    <message>
        <source>Updates:</source>
        <translation>Aktualisierungen:</translation>
    </message>
    <message>
        <source>Total physical memory:</source>
        <translation>Physischer Speicher insgesamt:</translation>
    </message>
    <message>
        <source>Available physical memory:</source>
        <translation>Verfügbarer physischer Speicher:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1.%2 (Build %3)</source>
        <translation>%1.%2 (Build %3)</translation>
    </message>
</context>
<context>
    <name>tazen::TFileListModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>tazen::TForm1</name>
    <message>
        <source>No files found for encryption in %1</source>
        <translation>In %1 wurden keine Dateien zum Verschlüsseln gefunden</translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1 or its sub directories.</source>
        <translation>Weder in %1 noch in seinen Unterordnern wurden mit TaZEN verschlüsselte Dateien gefunden.</translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1</source>
        <translation>In %1 wurden keine mit TaZEN verschlüsselten Dateien gefunden</translation>
    </message>
    <message>
        <source>You have choosen to add all files on %1 for encryption.
<byte value="xd"/>This might take a while, do you wish to continue?</source>
        <translation>Sie haben gewählt, alle Dateien auf %1 zum Verschlüsseln hinzuzufügen.
<byte value="xd"/>Das kann eine Weile dauern. Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>Include sub directories for %1?</source>
        <translation>Unterordner von %1 einbeziehen?</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Bitte warten …</translation>
    </message>
    <message>
        <source>%1 entries were not added: their paths are longer than the system allows.</source>
        <translation>%1 Einträge wurden nicht hinzugefügt: ihre Pfade sind länger, als das System erlaubt.</translation>
    </message>
    <message>
        <source> The first %1 of them:</source>
        <translation> Die ersten %1 davon:</translation>
    </message>
    <message>
        <source>All files (*.*)|*.*</source>
        <translation>Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Encrypted files (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</source>
        <translation>Verschlüsselte Dateien (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</translation>
    </message>
    <message>
        <source>Unencrypted</source>
        <translation>Unverschlüsselt</translation>
    </message>
    <message>
        <source>Encrypted</source>
        <translation>Verschlüsselt</translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation>verschlüsselt</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>The original files will be kept.</source>
        <translation>Die Originaldateien bleiben erhalten.</translation>
    </message>
    <message>
        <source>The original files will be deleted.</source>
        <translation>Die Originaldateien werden gelöscht.</translation>
    </message>
    <message>
        <source>The original files will be shredded.</source>
        <translation>Die Originaldateien werden geschreddert.</translation>
    </message>
    <message>
        <source> Settings chooses what becomes of them.</source>
        <translation> Was mit ihnen geschieht, legen Sie in den Einstellungen fest.</translation>
    </message>
    <message>
        <source> was not found, or is not a file.</source>
        <translation> wurde nicht gefunden oder ist keine Datei.</translation>
    </message>
    <message>
        <source> is encrypted already.</source>
        <translation> ist bereits verschlüsselt.</translation>
    </message>
    <message>
        <source> is not a TaZEN encrypted file.</source>
        <translation> ist keine mit TaZEN verschlüsselte Datei.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation>&amp;Verschlüsseln</translation>
    </message>
    <message>
        <source>&amp;Decrypt</source>
        <translation>&amp;Entschlüsseln</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;TaZEN Help</source>
        <translation>&amp;TaZEN-Hilfe</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Über …</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Befehle</translation>
    </message>
    <message>
        <source>More commands</source>
        <translation>Weitere Befehle</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>Hin&amp;zufügen</translation>
    </message>
    <message>
        <source>Lägg till filer för kryptering eller dekryptering</source>
        <translation>Dateien zum Verschlüsseln oder Entschlüsseln hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>Ent&amp;fernen</translation>
    </message>
    <message>
        <source>Ta bort markerade filer</source>
        <translation>Markierte Dateien entfernen</translation>
    </message>
    <message>
        <source>Kryptera valda filer</source>
        <translation>Ausgewählte Dateien verschlüsseln</translation>
    </message>
    <message>
        <source>Dekryptera valda filer</source>
        <translation>Ausgewählte Dateien entschlüsseln</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>Ein&amp;stellungen</translation>
    </message>
    <message>
        <source>Ändra inställningar</source>
        <translation>Einstellungen ändern</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Encrypt</source>
        <translation>Verschlüsseln</translation>
    </message>
    <message>
        <source>Decrypt</source>
        <translation>Entschlüsseln</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>Okänd</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>%1 already choosen.</source>
        <translation>%1 wurde bereits ausgewählt.</translation>
    </message>
    <message>
        <source>One file choosen for encryption</source>
        <translation>Eine Datei zum Verschlüsseln ausgewählt</translation>
    </message>
    <message>
        <source>One file choosen for decryption</source>
        <translation>Eine Datei zum Entschlüsseln ausgewählt</translation>
    </message>
    <message>
        <source>%1 files choosen for encryption</source>
        <translation>%1 Dateien zum Verschlüsseln ausgewählt</translation>
    </message>
    <message>
        <source>%1 files choosen for decryption</source>
        <translation>%1 Dateien zum Entschlüsseln ausgewählt</translation>
    </message>
    <message>
        <source>You must first select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu.</source>
        <translation>Wählen Sie zuerst „Verschlüsseln/Entschlüsseln“ im Menü „Datei“.</translation>
    </message>
    <message>
        <source>There are no files to remove.</source>
        <translation>Es sind keine Dateien zum Entfernen vorhanden.</translation>
    </message>
    <message>
        <source>Select the files you want to remove.</source>
        <translation>Wählen Sie die Dateien aus, die Sie entfernen möchten.</translation>
    </message>
    <message>
        <source>Not listed for encryption:</source>
        <translation>Nicht zum Verschlüsseln aufgenommen:</translation>
    </message>
    <message>
        <source>Not listed for decryption:</source>
        <translation>Nicht zum Entschlüsseln aufgenommen:</translation>
    </message>
    <message>
        <source>
<byte value="xd"/>and %1 more.</source>
        <translation>
<byte value="xd"/>und %1 weitere.</translation>
    </message>
    <message>
        <source>Could not suggest a passphrase: %1</source>
        <translation>Es konnte keine Passphrase vorgeschlagen werden: %1</translation>
    </message>
    <message>
        <source>You must first add the files you wish to encypt.</source>
        <translation>Fügen Sie zuerst die Dateien hinzu, die Sie verschlüsseln möchten.</translation>
    </message>
    <message>
        <source>You must first add the files you wish to decrypt.</source>
        <translation>Fügen Sie zuerst die Dateien hinzu, die Sie entschlüsseln möchten.</translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation>Passwort eingeben</translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation>Passwort bestätigen</translation>
    </message>
    <message>
        <source>Passwords do not match.</source>
        <translation>Die Passwörter stimmen nicht überein.</translation>
    </message>
    <message>
        <source>Select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu or &quot;drag and drop&quot; files directly on the application.</source>
        <translation>Wählen Sie „Verschlüsseln/Entschlüsseln“ im Menü „Datei“ oder ziehen Sie Dateien direkt auf das Programm („Ziehen und Ablegen“).</translation>
    </message>
    <message>
        <source>TaZEN runs alone: a second start cannot hand its files to this window.</source>
        <translation>TaZEN läuft eigenständig: Ein weiterer Programmstart kann seine Dateien nicht an dieses Fenster übergeben.</translation>
    </message>
    <message>
        <source>Operation only allowed on folders.</source>
        <translation>Dieser Vorgang ist nur für Ordner möglich.</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open &amp;files</source>
        <translation>&amp;Geöffnete Dateien</translation>
    </message>
    <message>
        <source>Could not save the last change of %1: %2
<byte value="xd"/>The decrypted copy is kept in %3; TaZEN offers to save it back at its next start.</source>
        <translation>Die letzte Änderung von %1 konnte nicht gespeichert werden: %2
<byte value="xd"/>Die entschlüsselte Kopie bleibt in %3; TaZEN bietet beim nächsten Start an, sie zurückzuspeichern.</translation>
    </message>
    <message>
        <source>Select an encrypted file in the list to open it.</source>
        <translation>Wählen Sie in der Liste eine verschlüsselte Datei aus, um sie zu öffnen.</translation>
    </message>
    <message>
        <source>No encrypted file is open.</source>
        <translation>Keine verschlüsselte Datei ist geöffnet.</translation>
    </message>
    <message>
        <source>
<byte value="xd"/>Write the decrypted copy there all the same?</source>
        <translation>
<byte value="xd"/>Die entschlüsselte Kopie trotzdem dort schreiben?</translation>
    </message>
    <message>
        <source>No application opened the decrypted copy; open it yourself: %1</source>
        <translation>Keine Anwendung hat die entschlüsselte Kopie geöffnet; öffnen Sie sie selbst: %1</translation>
    </message>
    <message>
        <source>an unknown encrypted file</source>
        <translation>eine unbekannte verschlüsselte Datei</translation>
    </message>
    <message>
        <source>A decrypted copy of %1 was left behind when TaZEN last ended:
<byte value="xd"/>%2
<byte value="xd"/>Yes saves it back into the encrypted file, No discards it (overwritten, then removed), Cancel leaves it for the next start.</source>
        <translation>Eine entschlüsselte Kopie von %1 ist beim letzten Ende von TaZEN zurückgeblieben:
<byte value="xd"/>%2
<byte value="xd"/>Ja speichert sie in die verschlüsselte Datei zurück, Nein verwirft sie (überschrieben, dann entfernt), Abbrechen lässt sie bis zum nächsten Start.</translation>
    </message>
    <message>
        <source>Could not remove %1: %2</source>
        <translation>%1 konnte nicht entfernt werden: %2</translation>
    </message>
</context>
<context>
    <name>tazen::THelpWindow</name>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>tazen::TOpenFilesWindow</name>
    <message>
        <source>Open files</source>
        <translation>Geöffnete Dateien</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation>&amp;Fertig</translation>
    </message>
    <message>
        <source>Saves a last change of the selected file and removes its decrypted copy</source>
        <translation>Speichert eine letzte Änderung der ausgewählten Datei und entfernt ihre entschlüsselte Kopie</translation>
    </message>
    <message>
        <source>saving… %1%</source>
        <translation>wird gespeichert… %1 %</translation>
    </message>
</context>
<context>
    <name>tazen::TPasswordDlg</name>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation>Passwort eingeben</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Show password</source>
        <translation>&amp;Passwort anzeigen</translation>
    </message>
    <message>
        <source>Su&amp;ggest</source>
        <translation>&amp;Vorschlagen</translation>
    </message>
    <message>
        <source>Fill in a passphrase of six words drawn at random, shown so that you can write it down</source>
        <translation>Eine Passphrase aus sechs zufällig gewählten Wörtern eintragen und anzeigen, damit Sie sie aufschreiben können</translation>
    </message>
    <message>
        <source>The two entries match.</source>
        <translation>Die beiden Eingaben stimmen überein.</translation>
    </message>
    <message>
        <source>The two entries match so far.</source>
        <translation>Die beiden Eingaben stimmen bisher überein.</translation>
    </message>
    <message>
        <source>The two entries do not match.</source>
        <translation>Die beiden Eingaben stimmen nicht überein.</translation>
    </message>
</context>
<context>
    <name>tazen::TProgressDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>%1 %2 files total.</source>
        <translation>%1: %2 Dateien insgesamt.</translation>
    </message>
    <message>
        <source>%1 one file total</source>
        <translation>%1: eine Datei insgesamt</translation>
    </message>
</context>
<context>
    <name>tazen::TSettingsDialog</name>
    <message>
        <source>Denna version utav TaZEN är begränsad till Blowfish för filkryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation>Diese Version von TaZEN ist bei der Dateiverschlüsselung auf Blowfish beschränkt.
<byte value="xd"/>Die fertige Version wird die aufgeführten Algorithmen enthalten.
<byte value="xd"/>Halten Sie Ausschau nach einer Aktualisierung!</translation>
    </message>
    <message>
        <source>Denna version utav TaZEN är begränsad till SHA-1 för lösenordskryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation>Diese Version von TaZEN ist beim Passwort-Hash auf SHA-1 beschränkt.
<byte value="xd"/>Die fertige Version wird die aufgeführten Algorithmen enthalten.
<byte value="xd"/>Halten Sie Ausschau nach einer Aktualisierung!</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>File encryption algorithm:</source>
        <translation>Algorithmus für die Dateiverschlüsselung:</translation>
    </message>
    <message>
        <source>Password hash algotihm</source>
        <translation>Algorithmus für den Passwort-Hash</translation>
    </message>
    <message>
        <source>Compress files before encryption (version 1.0).</source>
        <translation>Dateien vor der Verschlüsselung komprimieren (Version 1.0).</translation>
    </message>
    <message>
        <source>Make encrypted files executable.</source>
        <translation>Verschlüsselte Dateien ausführbar machen.</translation>
    </message>
    <message>
        <source>Recipient&apos;s system:</source>
        <translation>System des Empfängers:</translation>
    </message>
    <message>
        <source>Recipient&apos;s system</source>
        <translation>System des Empfängers</translation>
    </message>
    <message>
        <source>The system the self-extracting executable is made to run on</source>
        <translation>Das System, auf dem die selbstentpackende ausführbare Datei laufen soll</translation>
    </message>
    <message>
        <source> What to do with source files after encryption </source>
        <translation> Was nach der Verschlüsselung mit den Quelldateien geschehen soll </translation>
    </message>
    <message>
        <source>Leave unchanged.</source>
        <translation>Unverändert lassen.</translation>
    </message>
    <message>
        <source>Delete.</source>
        <translation>Löschen.</translation>
    </message>
    <message>
        <source>Shred before delete (Gutman pass-35).</source>
        <translation>Vor dem Löschen schreddern (Gutmann, 35 Durchgänge).</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>tazen::TStrengthBar</name>
    <message>
        <source>Password strength</source>
        <translation>Passwortstärke</translation>
    </message>
</context>
<context>
    <name>tazen::TscanDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>TaZEN - Adding files for decryption.</source>
        <translation>TaZEN - Dateien werden zum Entschlüsseln hinzugefügt.</translation>
    </message>
    <message>
        <source>TaZEN - Adding files for encryption.</source>
        <translation>TaZEN - Dateien werden zum Verschlüsseln hinzugefügt.</translation>
    </message>
</context>
<context>
    <name>tazen::TshredDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
</TS>
