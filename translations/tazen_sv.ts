<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sv" sourcelanguage="en">
<context>
    <name>Interaction</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fel</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bekräfta</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Varning</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Could not open source file: &quot;%1&quot;
<byte value="xd"/>This could happen if the file is write-protected.
<byte value="xd"/>Remove the write-protection and try again.</source>
        <translation>Det gick inte att öppna källfilen: ”%1”
<byte value="xd"/>Det kan hända om filen är skrivskyddad.
<byte value="xd"/>Ta bort skrivskyddet och försök igen.</translation>
    </message>
    <message>
        <source>Could not open source file: %1</source>
        <translation>Det gick inte att öppna källfilen: %1</translation>
    </message>
    <message>
        <source>The file is too short to be a TaZEN encrypted file: %1</source>
        <translation>Filen är för kort för att vara en TaZEN-krypterad fil: %1</translation>
    </message>
    <message>
        <source>Could not create destination file: %1</source>
        <translation>Det gick inte att skapa målfilen: %1</translation>
    </message>
    <message>
        <source>Wrong password for the file: %1</source>
        <translation>Fel lösenord för filen: %1</translation>
    </message>
    <message>
        <source>Could not read the file: %1</source>
        <translation>Det gick inte att läsa filen: %1</translation>
    </message>
    <message>
        <source>Could not write the file: %1</source>
        <translation>Det gick inte att skriva filen: %1</translation>
    </message>
    <message>
        <source>Could not delete the file: %1</source>
        <translation>Det gick inte att ta bort filen: %1</translation>
    </message>
    <message>
        <source>Source file %1 changed while it was read.</source>
        <translation>Källfilen %1 ändrades medan den lästes.</translation>
    </message>
    <message>
        <source>Encryption canceled</source>
        <translation>Krypteringen avbröts</translation>
    </message>
    <message>
        <source>Decryption canceled</source>
        <translation>Dekrypteringen avbröts</translation>
    </message>
    <message>
        <source>Source file %1 not deleted.</source>
        <translation>Källfilen %1 togs inte bort.</translation>
    </message>
    <message>
        <source>Source file %1 not thoroughly shredded.</source>
        <translation>Källfilen %1 kunde inte strimlas helt.</translation>
    </message>
    <message>
        <source>An error occured while creating %1 executable.</source>
        <translation>Ett fel uppstod när den körbara filen för %1 skulle skapas.</translation>
    </message>
    <message>
        <source>Could not over-write the file: %1</source>
        <translation>Det gick inte att skriva över filen: %1</translation>
    </message>
    <message>
        <source>Encrypting</source>
        <translation>Krypterar</translation>
    </message>
    <message>
        <source>Decrypting</source>
        <translation>Dekrypterar</translation>
    </message>
    <message>
        <source>Pass %1 of %2</source>
        <translation>Omgång %1 av %2</translation>
    </message>
    <message>
        <source>Could not verify the encrypted file: %1</source>
        <translation>Det gick inte att kontrollera den krypterade filen: %1</translation>
    </message>
    <message>
        <source>Could not verify the decrypted file: %1</source>
        <translation>Det gick inte att kontrollera den dekrypterade filen: %1</translation>
    </message>
    <message>
        <source>Other names (hard links) still lead to its data.</source>
        <translation>Andra namn (hårda länkar) leder fortfarande till dess data.</translation>
    </message>
    <message>
        <source>The file system keeps earlier copies of changed data (copy-on-write).</source>
        <translation>Filsystemet behåller tidigare kopior av ändrade data (copy-on-write).</translation>
    </message>
    <message>
        <source>File shredding (Gutman pass-35)</source>
        <translation>Filstrimling (Gutmann, 35 omgångar)</translation>
    </message>
    <message>
        <source>Shredding file:</source>
        <translation>Strimlar fil:</translation>
    </message>
    <message>
        <source>Creating executable file</source>
        <translation>Skapar körbar fil</translation>
    </message>
    <message>
        <source>Creating the executable file: </source>
        <translation>Skapar den körbara filen: </translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>unchanged</source>
        <translation>oförändrad</translation>
    </message>
    <message>
        <source>saved %1</source>
        <translation>sparad %1</translation>
    </message>
    <message>
        <source>saving failed: %1</source>
        <translation>det gick inte att spara: %1</translation>
    </message>
    <message>
        <source>The folder %1 is on a disk (%2), not in memory: the decrypted copy would be written to the disk, where it could be read back after it is removed.</source>
        <translation>Mappen %1 ligger på en disk (%2), inte i minnet: den dekrypterade kopian skulle skrivas till disken, där den kan läsas även efter att den tagits bort.</translation>
    </message>
    <message>
        <source>No private folder for the decrypted copy: %1</source>
        <translation>Ingen privat mapp för den dekrypterade kopian: %1</translation>
    </message>
    <message>
        <source>Could not make the private folder %1</source>
        <translation>Det gick inte att skapa den privata mappen %1</translation>
    </message>
    <message>
        <source>The encrypted file %1 is gone: the copy left behind is not saved back without it.</source>
        <translation>Den krypterade filen %1 finns inte längre: utan den sparas den kvarlämnade kopian inte tillbaka.</translation>
    </message>
    <message>
        <source>Could not save %1 back: the file %2 beside it would be replaced on the way. Move %2 elsewhere, then save again.</source>
        <translation>Det gick inte att spara tillbaka %1: filen %2 bredvid den skulle ersättas på vägen. Flytta %2 någon annanstans och spara sedan igen.</translation>
    </message>
    <message>
        <source>%1 cannot be opened in place: its decrypted copy would have no name. Rename it first.</source>
        <translation>%1 kan inte öppnas på plats: dess dekrypterade kopia skulle inte få något namn. Byt namn på den först.</translation>
    </message>
    <message>
        <source>%1 cannot be opened in place: its decrypted copy would be named %2, as TaZEN&apos;s own record beside the copy is. Rename it first.</source>
        <translation>%1 kan inte öppnas på plats: dess dekrypterade kopia skulle heta %2, som TaZENs egen anteckning bredvid kopian. Byt namn på den först.</translation>
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
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nej</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Avbryt</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Det går inte att skriva till %1</translation>
    </message>
</context>
<context>
    <name>Strength</name>
    <message>
        <source>Very weak</source>
        <translation>Mycket svagt</translation>
    </message>
    <message>
        <source>Weak</source>
        <translation>Svagt</translation>
    </message>
    <message>
        <source>Fair</source>
        <translation>Godtagbart</translation>
    </message>
    <message>
        <source>Good</source>
        <translation>Bra</translation>
    </message>
    <message>
        <source>Strong</source>
        <translation>Starkt</translation>
    </message>
    <message>
        <source>less than a second</source>
        <translation>mindre än en sekund</translation>
    </message>
    <message>
        <source>about %1 second</source>
        <translation>omkring %1 sekund</translation>
    </message>
    <message>
        <source>about %1 seconds</source>
        <translation>omkring %1 sekunder</translation>
    </message>
    <message>
        <source>about %1 minute</source>
        <translation>omkring %1 minut</translation>
    </message>
    <message>
        <source>about %1 minutes</source>
        <translation>omkring %1 minuter</translation>
    </message>
    <message>
        <source>about %1 hour</source>
        <translation>omkring %1 timme</translation>
    </message>
    <message>
        <source>about %1 hours</source>
        <translation>omkring %1 timmar</translation>
    </message>
    <message>
        <source>about %1 day</source>
        <translation>omkring %1 dag</translation>
    </message>
    <message>
        <source>about %1 days</source>
        <translation>omkring %1 dagar</translation>
    </message>
    <message>
        <source>about %1 month</source>
        <translation>omkring %1 månad</translation>
    </message>
    <message>
        <source>about %1 months</source>
        <translation>omkring %1 månader</translation>
    </message>
    <message>
        <source>about %1 year</source>
        <translation>omkring %1 år</translation>
    </message>
    <message>
        <source>about %1 years</source>
        <translation>omkring %1 år</translation>
    </message>
    <message>
        <source>about %1 thousand years</source>
        <translation>omkring %1 tusen år</translation>
    </message>
    <message>
        <source>about %1 million years</source>
        <translation>omkring %1 milj. år</translation>
    </message>
    <message>
        <source>about %1 billion years</source>
        <translation>omkring %1 md år</translation>
    </message>
    <message>
        <source>more than a trillion years</source>
        <translation>mer än en biljon år</translation>
    </message>
    <message>
        <source>%1: guessed in %2 by one current graphics card.</source>
        <translation>%1: ett modernt grafikkort gissar lösenordet på %2.</translation>
    </message>
    <message>
        <source>about 1 thousand years</source>
        <translation>omkring tusen år</translation>
    </message>
    <message>
        <source>about 1 million years</source>
        <translation>omkring en miljon år</translation>
    </message>
    <message>
        <source>about 1 billion years</source>
        <translation>omkring en miljard år</translation>
    </message>
</context>
<context>
    <name>tazen::TAboutBox</name>
    <message>
        <source>Version 0.9 English</source>
        <translation>Version 0.9 svenska</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 kB</translation>
    </message>
    <message>
        <source>Could not open helpfile: %1</source>
        <translation>Det gick inte att öppna hjälpfilen: %1</translation>
    </message>
    <message>
        <source>About TaZEN</source>
        <translation>Om TaZEN</translation>
    </message>
    <message>
        <source>TaZEN for Linux</source>
        <translation>TaZEN för Linux</translation>
    </message>
    <message>
        <source>Free software under the GNU GPL, version 3 or later</source>
        <translation>Fri programvara under GNU GPL, version 3 eller senare</translation>
    </message>
    <message>
        <source>Feed-back:</source>
        <translation>Återkoppling:</translation>
    </message>
    <message>
        <source>Updates:</source>
        <translation>Uppdateringar:</translation>
    </message>
    <message>
        <source>Total physical memory:</source>
        <translation>Totalt fysiskt minne:</translation>
    </message>
    <message>
        <source>Available physical memory:</source>
        <translation>Tillgängligt fysiskt minne:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1.%2 (Build %3)</source>
        <translation>%1.%2 (bygge %3)</translation>
    </message>
</context>
<context>
    <name>tazen::TFileListModel</name>
    <message>
        <source>Name</source>
        <translation>Namn</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Storlek</translation>
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
        <translation>Inga filer att kryptera hittades i %1</translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1 or its sub directories.</source>
        <translation>Inga TaZEN-krypterade filer hittades i %1 eller dess undermappar.</translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1</source>
        <translation>Inga TaZEN-krypterade filer hittades i %1</translation>
    </message>
    <message>
        <source>You have choosen to add all files on %1 for encryption.
<byte value="xd"/>This might take a while, do you wish to continue?</source>
        <translation>Du har valt att lägga till alla filer på %1 för kryptering.
<byte value="xd"/>Det kan ta en stund. Vill du fortsätta?</translation>
    </message>
    <message>
        <source>Include sub directories for %1?</source>
        <translation>Ta med undermapparna i %1?</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Vänta...</translation>
    </message>
    <message>
        <source>%1 entries were not added: their paths are longer than the system allows.</source>
        <translation>%1 poster lades inte till: deras sökvägar är längre än systemet tillåter.</translation>
    </message>
    <message>
        <source> The first %1 of them:</source>
        <translation> De första %1 av dem:</translation>
    </message>
    <message>
        <source>All files (*.*)|*.*</source>
        <translation>Alla filer (*.*)|*.*</translation>
    </message>
    <message>
        <source>Encrypted files (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</source>
        <translation>Krypterade filer (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</translation>
    </message>
    <message>
        <source>Unencrypted</source>
        <translation>Okrypterad</translation>
    </message>
    <message>
        <source>Encrypted</source>
        <translation>Krypterad</translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation>krypterad</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 kB</translation>
    </message>
    <message>
        <source>The original files will be kept.</source>
        <translation>Originalfilerna behålls.</translation>
    </message>
    <message>
        <source>The original files will be deleted.</source>
        <translation>Originalfilerna tas bort.</translation>
    </message>
    <message>
        <source>The original files will be shredded.</source>
        <translation>Originalfilerna strimlas.</translation>
    </message>
    <message>
        <source> Settings chooses what becomes of them.</source>
        <translation> Vad som händer med dem väljer du under Inställningar.</translation>
    </message>
    <message>
        <source> was not found, or is not a file.</source>
        <translation> hittades inte eller är ingen fil.</translation>
    </message>
    <message>
        <source> is encrypted already.</source>
        <translation> är redan krypterad.</translation>
    </message>
    <message>
        <source> is not a TaZEN encrypted file.</source>
        <translation> är inte en TaZEN-krypterad fil.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Arkiv</translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation>&amp;Kryptera</translation>
    </message>
    <message>
        <source>&amp;Decrypt</source>
        <translation>&amp;Dekryptera</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Avsluta</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hjälp</translation>
    </message>
    <message>
        <source>&amp;TaZEN Help</source>
        <translation>&amp;TaZEN-hjälp</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Om...</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Kommandon</translation>
    </message>
    <message>
        <source>More commands</source>
        <translation>Fler kommandon</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Lägg till</translation>
    </message>
    <message>
        <source>Lägg till filer för kryptering eller dekryptering</source>
        <translation>Lägg till filer för kryptering eller dekryptering</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Ta bort</translation>
    </message>
    <message>
        <source>Ta bort markerade filer</source>
        <translation>Ta bort markerade filer</translation>
    </message>
    <message>
        <source>Kryptera valda filer</source>
        <translation>Kryptera valda filer</translation>
    </message>
    <message>
        <source>Dekryptera valda filer</source>
        <translation>Dekryptera valda filer</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Inställningar</translation>
    </message>
    <message>
        <source>Ändra inställningar</source>
        <translation>Ändra inställningar</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Filer</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Ta bort</translation>
    </message>
    <message>
        <source>Encrypt</source>
        <translation>Kryptera</translation>
    </message>
    <message>
        <source>Decrypt</source>
        <translation>Dekryptera</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Okänd</translation>
    </message>
    <message>
        <source>Okänd</source>
        <translation>Okänd</translation>
    </message>
    <message>
        <source>%1 already choosen.</source>
        <translation>%1 är redan vald.</translation>
    </message>
    <message>
        <source>One file choosen for encryption</source>
        <translation>En fil vald för kryptering</translation>
    </message>
    <message>
        <source>One file choosen for decryption</source>
        <translation>En fil vald för dekryptering</translation>
    </message>
    <message>
        <source>%1 files choosen for encryption</source>
        <translation>%1 filer valda för kryptering</translation>
    </message>
    <message>
        <source>%1 files choosen for decryption</source>
        <translation>%1 filer valda för dekryptering</translation>
    </message>
    <message>
        <source>You must first select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu.</source>
        <translation>Du måste först välja ”Kryptera/Dekryptera” i menyn ”Arkiv”.</translation>
    </message>
    <message>
        <source>There are no files to remove.</source>
        <translation>Det finns inga filer att ta bort.</translation>
    </message>
    <message>
        <source>Select the files you want to remove.</source>
        <translation>Markera de filer som du vill ta bort.</translation>
    </message>
    <message>
        <source>Not listed for encryption:</source>
        <translation>Lades inte till för kryptering:</translation>
    </message>
    <message>
        <source>Not listed for decryption:</source>
        <translation>Lades inte till för dekryptering:</translation>
    </message>
    <message>
        <source>
<byte value="xd"/>and %1 more.</source>
        <translation>
<byte value="xd"/>och %1 till.</translation>
    </message>
    <message>
        <source>Could not suggest a passphrase: %1</source>
        <translation>Det gick inte att föreslå en lösenfras: %1</translation>
    </message>
    <message>
        <source>You must first add the files you wish to encypt.</source>
        <translation>Du måste först lägga till de filer som du vill kryptera.</translation>
    </message>
    <message>
        <source>You must first add the files you wish to decrypt.</source>
        <translation>Du måste först lägga till de filer som du vill dekryptera.</translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation>Ange lösenord</translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation>Bekräfta lösenord</translation>
    </message>
    <message>
        <source>Passwords do not match.</source>
        <translation>Lösenorden stämmer inte överens.</translation>
    </message>
    <message>
        <source>Select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu or &quot;drag and drop&quot; files directly on the application.</source>
        <translation>Välj ”Kryptera/Dekryptera” i menyn ”Arkiv” eller ”dra och släpp” filer direkt på programmet.</translation>
    </message>
    <message>
        <source>TaZEN runs alone: a second start cannot hand its files to this window.</source>
        <translation>TaZEN körs ensamt: en andra start kan inte lämna över sina filer till det här fönstret.</translation>
    </message>
    <message>
        <source>Operation only allowed on folders.</source>
        <translation>Åtgärden är bara tillåten på mappar.</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Öppna...</translation>
    </message>
    <message>
        <source>Open &amp;files</source>
        <translation>Öppna &amp;filer</translation>
    </message>
    <message>
        <source>Could not save the last change of %1: %2
<byte value="xd"/>The decrypted copy is kept in %3; TaZEN offers to save it back at its next start.</source>
        <translation>Den senaste ändringen av %1 kunde inte sparas: %2
<byte value="xd"/>Den dekrypterade kopian finns kvar i %3; TaZEN erbjuder att spara tillbaka den vid nästa start.</translation>
    </message>
    <message>
        <source>Select an encrypted file in the list to open it.</source>
        <translation>Välj en krypterad fil i listan för att öppna den.</translation>
    </message>
    <message>
        <source>No encrypted file is open.</source>
        <translation>Ingen krypterad fil är öppen.</translation>
    </message>
    <message>
        <source>
<byte value="xd"/>Write the decrypted copy there all the same?</source>
        <translation>
<byte value="xd"/>Skriva den dekrypterade kopian där ändå?</translation>
    </message>
    <message>
        <source>No application opened the decrypted copy; open it yourself: %1</source>
        <translation>Inget program öppnade den dekrypterade kopian; öppna den själv: %1</translation>
    </message>
    <message>
        <source>an unknown encrypted file</source>
        <translation>en okänd krypterad fil</translation>
    </message>
    <message>
        <source>A decrypted copy of %1 was left behind when TaZEN last ended:
<byte value="xd"/>%2
<byte value="xd"/>Yes saves it back into the encrypted file, No discards it (overwritten, then removed), Cancel leaves it for the next start.</source>
        <translation>En dekrypterad kopia av %1 lämnades kvar när TaZEN senast avslutades:
<byte value="xd"/>%2
<byte value="xd"/>Ja sparar tillbaka den i den krypterade filen, Nej kastar den (skrivs över och tas sedan bort), Avbryt lämnar den till nästa start.</translation>
    </message>
    <message>
        <source>Could not remove %1: %2</source>
        <translation>Kunde inte ta bort %1: %2</translation>
    </message>
</context>
<context>
    <name>tazen::THelpWindow</name>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Bakåt</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Framåt</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hjälp</translation>
    </message>
</context>
<context>
    <name>tazen::TOpenFilesWindow</name>
    <message>
        <source>Open files</source>
        <translation>Öppna filer</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Namn</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Tillstånd</translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation>&amp;Klar</translation>
    </message>
    <message>
        <source>Saves a last change of the selected file and removes its decrypted copy</source>
        <translation>Sparar en sista ändring av den valda filen och tar bort dess dekrypterade kopia</translation>
    </message>
    <message>
        <source>saving… %1%</source>
        <translation>sparar… %1 %</translation>
    </message>
</context>
<context>
    <name>tazen::TPasswordDlg</name>
    <message>
        <source>Password</source>
        <translation>Lösenord</translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation>Ange lösenord</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Avbryt</translation>
    </message>
    <message>
        <source>&amp;Show password</source>
        <translation>&amp;Visa lösenord</translation>
    </message>
    <message>
        <source>Su&amp;ggest</source>
        <translation>&amp;Föreslå</translation>
    </message>
    <message>
        <source>Fill in a passphrase of six words drawn at random, shown so that you can write it down</source>
        <translation>Fyll i en lösenfras av sex slumpvis valda ord, som visas så att du kan skriva ner den</translation>
    </message>
    <message>
        <source>The two entries match.</source>
        <translation>De två inmatningarna stämmer överens.</translation>
    </message>
    <message>
        <source>The two entries match so far.</source>
        <translation>De två inmatningarna stämmer överens hittills.</translation>
    </message>
    <message>
        <source>The two entries do not match.</source>
        <translation>De två inmatningarna stämmer inte överens.</translation>
    </message>
</context>
<context>
    <name>tazen::TProgressDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Avbryt</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Stäng</translation>
    </message>
    <message>
        <source>%1 %2 files total.</source>
        <translation>%1 %2 filer totalt.</translation>
    </message>
    <message>
        <source>%1 one file total</source>
        <translation>%1 en fil totalt</translation>
    </message>
</context>
<context>
    <name>tazen::TSettingsDialog</name>
    <message>
        <source>Denna version utav TaZEN är begränsad till Blowfish för filkryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation>Denna version utav TaZEN är begränsad till Blowfish för filkryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</translation>
    </message>
    <message>
        <source>Denna version utav TaZEN är begränsad till SHA-1 för lösenordskryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation>Denna version utav TaZEN är begränsad till SHA-1 för lösenordskryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Inställningar</translation>
    </message>
    <message>
        <source>File encryption algorithm:</source>
        <translation>Algoritm för filkryptering:</translation>
    </message>
    <message>
        <source>Password hash algotihm</source>
        <translation>Hashalgoritm för lösenord</translation>
    </message>
    <message>
        <source>Compress files before encryption (version 1.0).</source>
        <translation>Komprimera filer före kryptering (version 1.0).</translation>
    </message>
    <message>
        <source>Make encrypted files executable.</source>
        <translation>Gör krypterade filer körbara.</translation>
    </message>
    <message>
        <source>Recipient&apos;s system:</source>
        <translation>Mottagarens system:</translation>
    </message>
    <message>
        <source>Recipient&apos;s system</source>
        <translation>Mottagarens system</translation>
    </message>
    <message>
        <source>The system the self-extracting executable is made to run on</source>
        <translation>Det system som den självuppackande filen ska köras på</translation>
    </message>
    <message>
        <source> What to do with source files after encryption </source>
        <translation> Vad som ska hända med källfilerna efter kryptering </translation>
    </message>
    <message>
        <source>Leave unchanged.</source>
        <translation>Lämna oförändrade.</translation>
    </message>
    <message>
        <source>Delete.</source>
        <translation>Ta bort.</translation>
    </message>
    <message>
        <source>Shred before delete (Gutman pass-35).</source>
        <translation>Strimla före borttagning (Gutmann, 35 omgångar).</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Avbryt</translation>
    </message>
</context>
<context>
    <name>tazen::TStrengthBar</name>
    <message>
        <source>Password strength</source>
        <translation>Lösenordsstyrka</translation>
    </message>
</context>
<context>
    <name>tazen::TscanDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Avbryt</translation>
    </message>
    <message>
        <source>TaZEN - Adding files for decryption.</source>
        <translation>TaZEN - Lägger till filer för dekryptering.</translation>
    </message>
    <message>
        <source>TaZEN - Adding files for encryption.</source>
        <translation>TaZEN - Lägger till filer för kryptering.</translation>
    </message>
</context>
<context>
    <name>tazen::TshredDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Avbryt</translation>
    </message>
</context>
</TS>
