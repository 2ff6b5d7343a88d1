<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>Interaction</name>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Could not open source file: &quot;%1&quot;
<byte value="xd"/>This could happen if the file is write-protected.
<byte value="xd"/>Remove the write-protection and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open source file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is too short to be a TaZEN encrypted file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not create destination file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong password for the file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read the file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write the file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not delete the file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source file %1 changed while it was read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encryption canceled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decryption canceled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source file %1 not deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source file %1 not thoroughly shredded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occured while creating %1 executable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not over-write the file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decrypting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pass %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not verify the encrypted file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not verify the decrypted file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other names (hard links) still lead to its data.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file system keeps earlier copies of changed data (copy-on-write).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File shredding (Gutman pass-35)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shredding file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Creating executable file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Creating the executable file: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Strength</name>
    <message>
        <source>Very weak</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weak</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fair</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Good</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strong</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>less than a second</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 second</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 months</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 years</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 thousand years</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 million years</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 billion years</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>more than a trillion years</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: guessed in %2 by one current graphics card.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tazen::TAboutBox</name>
    <message>
        <source>Version 0.9 English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open helpfile: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About TaZEN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TaZEN for Linux</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free software under the GNU GPL, version 3 or later</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Feed-back:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Updates:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total physical memory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available physical memory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1.%2 (Build %3)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tazen::TFileListModel</name>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tazen::TForm1</name>
    <message>
        <source>No files found for encryption in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1 or its sub directories.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have choosen to add all files on %1 for encryption.
<byte value="xd"/>This might take a while, do you wish to continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Include sub directories for %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 entries were not added: their paths are longer than the system allows.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> The first %1 of them:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files (*.*)|*.*</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted files (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unencrypted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The original files will be kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The original files will be deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The original files will be shredded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Settings chooses what becomes of them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> was not found, or is not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> is encrypted already.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> is not a TaZEN encrypted file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Decrypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;TaZEN Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lägg till filer för kryptering eller dekryptering</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ta bort markerade filer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kryptera valda filer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dekryptera valda filer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ändra inställningar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decrypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Okänd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already choosen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One file choosen for encryption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One file choosen for decryption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files choosen for encryption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files choosen for decryption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must first select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no files to remove.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the files you want to remove.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not listed for encryption:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not listed for decryption:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
<byte value="xd"/>and %1 more.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not suggest a passphrase: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must first add the files you wish to encypt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must first add the files you wish to decrypt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Passwords do not match.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu or &quot;drag and drop&quot; files directly on the application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TaZEN runs alone: a second start cannot hand its files to this window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation only allowed on folders.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tazen::TPasswordDlg</name>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Show password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Su&amp;ggest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill in a passphrase of six words drawn at random, shown so that you can write it down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The two entries match.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The two entries match so far.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The two entries do not match.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tazen::TProgressDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 files total.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 one file total</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tazen::TSettingsDialog</name>
    <message>
        <source>Denna version utav TaZEN är begränsad till Blowfish för filkryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Denna version utav TaZEN är begränsad till SHA-1 för lösenordskryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File encryption algorithm:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password hash algotihm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compress files before encryption (version 1.0).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make encrypted files executable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recipient&apos;s system:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recipient&apos;s system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The system the self-extracting executable is made to run on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> What to do with source files after encryption </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leave unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shred before delete (Gutman pass-35).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tazen::TStrengthBar</name>
    <message>
        <source>Password strength</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tazen::TscanDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TaZEN - Adding files for decryption.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TaZEN - Adding files for encryption.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tazen::TshredDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
