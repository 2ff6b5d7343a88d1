<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Interaction</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Could not open source file: &quot;%1&quot;
<byte value="xd"/>This could happen if the file is write-protected.
<byte value="xd"/>Remove the write-protection and try again.</source>
        <translation>Could not open source file: &quot;%1&quot;
<byte value="xd"/>This could happen if the file is write-protected.
<byte value="xd"/>Remove the write-protection and try again.</translation>
    </message>
    <message>
        <source>Could not open source file: %1</source>
        <translation>Could not open source file: %1</translation>
    </message>
    <message>
        <source>The file is too short to be a TaZEN encrypted file: %1</source>
        <translation>The file is too short to be a TaZEN encrypted file: %1</translation>
    </message>
    <message>
        <source>Could not create destination file: %1</source>
        <translation>Could not create destination file: %1</translation>
    </message>
    <message>
        <source>Wrong password for the file: %1</source>
        <translation>Wrong password for the file: %1</translation>
    </message>
    <message>
        <source>Could not read the file: %1</source>
        <translation>Could not read the file: %1</translation>
    </message>
    <message>
        <source>Could not write the file: %1</source>
        <translation>Could not write the file: %1</translation>
    </message>
    <message>
        <source>Could not delete the file: %1</source>
        <translation>Could not delete the file: %1</translation>
    </message>
    <message>
        <source>Source file %1 changed while it was read.</source>
        <translation>Source file %1 changed while it was read.</translation>
    </message>
    <message>
        <source>Encryption canceled</source>
        <translation>Encryption canceled</translation>
    </message>
    <message>
        <source>Decryption canceled</source>
        <translation>Decryption canceled</translation>
    </message>
    <message>
        <source>Source file %1 not deleted.</source>
        <translation>Source file %1 not deleted.</translation>
    </message>
    <message>
        <source>Source file %1 not thoroughly shredded.</source>
        <translation>Source file %1 not thoroughly shredded.</translation>
    </message>
    <message>
        <source>An error occured while creating %1 executable.</source>
        <translation>An error occured while creating %1 executable.</translation>
    </message>
    <message>
        <source>Could not over-write the file: %1</source>
        <translation>Could not over-write the file: %1</translation>
    </message>
    <message>
        <source>Encrypting</source>
        <translation>Encrypting</translation>
    </message>
    <message>
        <source>Decrypting</source>
        <translation>Decrypting</translation>
    </message>
    <message>
        <source>Pass %1 of %2</source>
        <translation>Pass %1 of %2</translation>
    </message>
    <message>
        <source>Could not verify the encrypted file: %1</source>
        <translation>Could not verify the encrypted file: %1</translation>
    </message>
    <message>
        <source>Could not verify the decrypted file: %1</source>
        <translation>Could not verify the decrypted file: %1</translation>
    </message>
    <message>
        <source>Other names (hard links) still lead to its data.</source>
        <translation>Other names (hard links) still lead to its data.</translation>
    </message>
    <message>
        <source>The file system keeps earlier copies of changed data (copy-on-write).</source>
        <translation>The file system keeps earlier copies of changed data (copy-on-write).</translation>
    </message>
    <message>
        <source>File shredding (Gutman pass-35)</source>
        <translation>File shredding (Gutman pass-35)</translation>
    </message>
    <message>
        <source>Shredding file:</source>
        <translation>Shredding file:</translation>
    </message>
    <message>
        <source>Creating executable file</source>
        <translation>Creating executable file</translation>
    </message>
    <message>
        <source>Creating the executable file: </source>
        <translation>Creating the executable file: </translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>unchanged</source>
        <translation>unchanged</translation>
    </message>
    <message>
        <source>saved %1</source>
        <translation>saved %1</translation>
    </message>
    <message>
        <source>saving failed: %1</source>
        <translation>saving failed: %1</translation>
    </message>
    <message>
        <source>The folder %1 is on a disk (%2), not in memory: the decrypted copy would be written to the disk, where it could be read back after it is removed.</source>
        <translation>The folder %1 is on a disk (%2), not in memory: the decrypted copy would be written to the disk, where it could be read back after it is removed.</translation>
    </message>
    <message>
        <source>No private folder for the decrypted copy: %1</source>
        <translation>No private folder for the decrypted copy: %1</translation>
    </message>
    <message>
        <source>Could not make the private folder %1</source>
        <translation>Could not make the private folder %1</translation>
    </message>
    <message>
        <source>The encrypted file %1 is gone: the copy left behind is not saved back without it.</source>
        <translation>The encrypted file %1 is gone: the copy left behind is not saved back without it.</translation>
    </message>
    <message>
        <source>Could not save %1 back: the file %2 beside it would be replaced on the way. Move %2 elsewhere, then save again.</source>
        <translation>Could not save %1 back: the file %2 beside it would be replaced on the way. Move %2 elsewhere, then save again.</translation>
    </message>
    <message>
        <source>%1 cannot be opened in place: its decrypted copy would have no name. Rename it first.</source>
        <translation>%1 cannot be opened in place: its decrypted copy would have no name. Rename it first.</translation>
    </message>
    <message>
        <source>%1 cannot be opened in place: its decrypted copy would be named %2, as TaZEN&apos;s own record beside the copy is. Rename it first.</source>
        <translation>%1 cannot be opened in place: its decrypted copy would be named %2, as TaZEN&apos;s own record beside the copy is. Rename it first.</translation>
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
        <translation>Cancel</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abort</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Unable to write to %1</translation>
    </message>
</context>
<context>
    <name>Strength</name>
    <message>
        <source>Very weak</source>
        <translation>Very weak</translation>
    </message>
    <message>
        <source>Weak</source>
        <translation>Weak</translation>
    </message>
    <message>
        <source>Fair</source>
        <translation>Fair</translation>
    </message>
    <message>
        <source>Good</source>
        <translation>Good</translation>
    </message>
    <message>
        <source>Strong</source>
        <translation>Strong</translation>
    </message>
    <message>
        <source>less than a second</source>
        <translation>less than a second</translation>
    </message>
    <message>
        <source>about %1 second</source>
        <translation>about %1 second</translation>
    </message>
    <message>
        <source>about %1 seconds</source>
        <translation>about %1 seconds</translation>
    </message>
    <message>
        <source>about %1 minute</source>
        <translation>about %1 minute</translation>
    </message>
    <message>
        <source>about %1 minutes</source>
        <translation>about %1 minutes</translation>
    </message>
    <message>
        <source>about %1 hour</source>
        <translation>about %1 hour</translation>
    </message>
    <message>
        <source>about %1 hours</source>
        <translation>about %1 hours</translation>
    </message>
    <message>
        <source>about %1 day</source>
        <translation>about %1 day</translation>
    </message>
    <message>
        <source>about %1 days</source>
        <translation>about %1 days</translation>
    </message>
    <message>
        <source>about %1 month</source>
        <translation>about %1 month</translation>
    </message>
    <message>
        <source>about %1 months</source>
        <translation>about %1 months</translation>
    </message>
    <message>
        <source>about %1 year</source>
        <translation>about %1 year</translation>
    </message>
    <message>
        <source>about %1 years</source>
        <translation>about %1 years</translation>
    </message>
    <message>
        <source>about %1 thousand years</source>
        <translation>about %1 thousand years</translation>
    </message>
    <message>
        <source>about %1 million years</source>
        <translation>about %1 million years</translation>
    </message>
    <message>
        <source>about %1 billion years</source>
        <translation>about %1 billion years</translation>
    </message>
    <message>
        <source>more than a trillion years</source>
        <translation>more than a trillion years</translation>
    </message>
    <message>
        <source>%1: guessed in %2 by one current graphics card.</source>
        <translation>%1: guessed in %2 by one current graphics card.</translation>
    </message>
    <message>
        <source>about 1 thousand years</source>
        <translation>about 1 thousand years</translation>
    </message>
    <message>
        <source>about 1 million years</source>
        <translation>about 1 million years</translation>
    </message>
    <message>
        <source>about 1 billion years</source>
        <translation>about 1 billion years</translation>
    </message>
</context>
<context>
    <name>tazen::TAboutBox</name>
    <message>
        <source>Version 0.9 English</source>
        <translation>Version 0.9 English</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>Could not open helpfile: %1</source>
        <translation>Could not open helpfile: %1</translation>
    </message>
    <message>
        <source>About TaZEN</source>
        <translation>About TaZEN</translation>
    </message>
    <message>
        <source>TaZEN for Linux</source>
        <translation>TaZEN for Linux</translation>
    </message>
    <message>
        <source>Free software under the GNU GPL, version 3 or later</source>
        <translation>Free software under the GNU GPL, version 3 or later</translation>
    </message>
    <message>
        <source>Feed-back:</source>
        <translation>Feed-back:</translation>
    </message>
    <message>
        <source>Updates:</source>
        <translation>Updates:</translation>
    </message>
    <message>
        <source>Total physical memory:</source>
        <translation>Total physical memory:</translation>
    </message>
    <message>
        <source>Available physical memory:</source>
        <translation>Available physical memory:</translation>
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
        <translation>Size</translation>
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
        <translation>No files found for encryption in %1</translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1 or its sub directories.</source>
        <translation>No TaZEN encrypted files found in %1 or its sub directories.</translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1</source>
        <translation>No TaZEN encrypted files found in %1</translation>
    </message>
    <message>
        <source>You have choosen to add all files on %1 for encryption.
<byte value="xd"/>This might take a while, do you wish to continue?</source>
        <translation>You have choosen to add all files on %1 for encryption.
<byte value="xd"/>This might take a while, do you wish to continue?</translation>
    </message>
    <message>
        <source>Include sub directories for %1?</source>
        <translation>Include sub directories for %1?</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Please wait...</translation>
    </message>
    <message>
        <source>%1 entries were not added: their paths are longer than the system allows.</source>
        <translation>%1 entries were not added: their paths are longer than the system allows.</translation>
    </message>
    <message>
        <source> The first %1 of them:</source>
        <translation> The first %1 of them:</translation>
    </message>
    <message>
        <source>All files (*.*)|*.*</source>
        <translation>All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Encrypted files (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</source>
        <translation>Encrypted files (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</translation>
    </message>
    <message>
        <source>Unencrypted</source>
        <translation>Unencrypted</translation>
    </message>
    <message>
        <source>Encrypted</source>
        <translation>Encrypted</translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation>encrypted</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>The original files will be kept.</source>
        <translation>The original files will be kept.</translation>
    </message>
    <message>
        <source>The original files will be deleted.</source>
        <translation>The original files will be deleted.</translation>
    </message>
    <message>
        <source>The original files will be shredded.</source>
        <translation>The original files will be shredded.</translation>
    </message>
    <message>
        <source> Settings chooses what becomes of them.</source>
        <translation> Settings chooses what becomes of them.</translation>
    </message>
    <message>
        <source> was not found, or is not a file.</source>
        <translation> was not found, or is not a file.</translation>
    </message>
    <message>
        <source> is encrypted already.</source>
        <translation> is encrypted already.</translation>
    </message>
    <message>
        <source> is not a TaZEN encrypted file.</source>
        <translation> is not a TaZEN encrypted file.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation>&amp;Encrypt</translation>
    </message>
    <message>
        <source>&amp;Decrypt</source>
        <translation>&amp;Decrypt</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Exit</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;TaZEN Help</source>
        <translation>&amp;TaZEN Help</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Commands</translation>
    </message>
    <message>
        <source>More commands</source>
        <translation>More commands</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>Lägg till filer för kryptering eller dekryptering</source>
        <translation>Add files for encryption or decryption</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>Ta bort markerade filer</source>
        <translation>Remove the selected files</translation>
    </message>
    <message>
        <source>Kryptera valda filer</source>
        <translation>Encrypt the chosen files</translation>
    </message>
    <message>
        <source>Dekryptera valda filer</source>
        <translation>Decrypt the chosen files</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Ändra inställningar</source>
        <translation>Change settings</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Encrypt</source>
        <translation>Encrypt</translation>
    </message>
    <message>
        <source>Decrypt</source>
        <translation>Decrypt</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>Okänd</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>%1 already choosen.</source>
        <translation>%1 already choosen.</translation>
    </message>
    <message>
        <source>One file choosen for encryption</source>
        <translation>One file choosen for encryption</translation>
    </message>
    <message>
        <source>One file choosen for decryption</source>
        <translation>One file choosen for decryption</translation>
    </message>
    <message>
        <source>%1 files choosen for encryption</source>
        <translation>%1 files choosen for encryption</translation>
    </message>
    <message>
        <source>%1 files choosen for decryption</source>
        <translation>%1 files choosen for decryption</translation>
    </message>
    <message>
        <source>You must first select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu.</source>
        <translation>You must first select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu.</translation>
    </message>
    <message>
        <source>There are no files to remove.</source>
        <translation>There are no files to remove.</translation>
    </message>
    <message>
        <source>Select the files you want to remove.</source>
        <translation>Select the files you want to remove.</translation>
    </message>
    <message>
        <source>Not listed for encryption:</source>
        <translation>Not listed for encryption:</translation>
    </message>
    <message>
        <source>Not listed for decryption:</source>
        <translation>Not listed for decryption:</translation>
    </message>
    <message>
        <source>
<byte value="xd"/>and %1 more.</source>
        <translation>
<byte value="xd"/>and %1 more.</translation>
    </message>
    <message>
        <source>Could not suggest a passphrase: %1</source>
        <translation>Could not suggest a passphrase: %1</translation>
    </message>
    <message>
        <source>You must first add the files you wish to encypt.</source>
        <translation>You must first add the files you wish to encypt.</translation>
    </message>
    <message>
        <source>You must first add the files you wish to decrypt.</source>
        <translation>You must first add the files you wish to decrypt.</translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation>Enter password</translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation>Confirm password</translation>
    </message>
    <message>
        <source>Passwords do not match.</source>
        <translation>Passwords do not match.</translation>
    </message>
    <message>
        <source>Select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu or &quot;drag and drop&quot; files directly on the application.</source>
        <translation>Select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu or &quot;drag and drop&quot; files directly on the application.</translation>
    </message>
    <message>
        <source>TaZEN runs alone: a second start cannot hand its files to this window.</source>
        <translation>TaZEN runs alone: a second start cannot hand its files to this window.</translation>
    </message>
    <message>
        <source>Operation only allowed on folders.</source>
        <translation>Operation only allowed on folders.</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>Open &amp;files</source>
        <translation>Open &amp;files</translation>
    </message>
    <message>
        <source>Could not save the last change of %1: %2
<byte value="xd"/>The decrypted copy is kept in %3; TaZEN offers to save it back at its next start.</source>
        <translation>Could not save the last change of %1: %2
<byte value="xd"/>The decrypted copy is kept in %3; TaZEN offers to save it back at its next start.</translation>
    </message>
    <message>
        <source>Select an encrypted file in the list to open it.</source>
        <translation>Select an encrypted file in the list to open it.</translation>
    </message>
    <message>
        <source>No encrypted file is open.</source>
        <translation>No encrypted file is open.</translation>
    </message>
    <message>
        <source>
<byte value="xd"/>Write the decrypted copy there all the same?</source>
        <translation>
<byte value="xd"/>Write the decrypted copy there all the same?</translation>
    </message>
    <message>
        <source>No application opened the decrypted copy; open it yourself: %1</source>
        <translation>No application opened the decrypted copy; open it yourself: %1</translation>
    </message>
    <message>
        <source>an unknown encrypted file</source>
        <translation>an unknown encrypted file</translation>
    </message>
    <message>
        <source>A decrypted copy of %1 was left behind when TaZEN last ended:
<byte value="xd"/>%2
<byte value="xd"/>Yes saves it back into the encrypted file, No discards it (overwritten, then removed), Cancel leaves it for the next start.</source>
        <translation>A decrypted copy of %1 was left behind when TaZEN last ended:
<byte value="xd"/>%2
<byte value="xd"/>Yes saves it back into the encrypted file, No discards it (overwritten, then removed), Cancel leaves it for the next start.</translation>
    </message>
    <message>
        <source>Could not remove %1: %2</source>
        <translation>Could not remove %1: %2</translation>
    </message>
</context>
<context>
    <name>tazen::THelpWindow</name>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Back</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Forward</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>tazen::TOpenFilesWindow</name>
    <message>
        <source>Open files</source>
        <translation>Open files</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>State</source>
        <translation>State</translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation>&amp;Done</translation>
    </message>
    <message>
        <source>Saves a last change of the selected file and removes its decrypted copy</source>
        <translation>Saves a last change of the selected file and removes its decrypted copy</translation>
    </message>
    <message>
        <source>saving… %1%</source>
        <translation>saving… %1%</translation>
    </message>
</context>
<context>
    <name>tazen::TPasswordDlg</name>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation>Enter password</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>&amp;Show password</source>
        <translation>&amp;Show password</translation>
    </message>
    <message>
        <source>Su&amp;ggest</source>
        <translation>Su&amp;ggest</translation>
    </message>
    <message>
        <source>Fill in a passphrase of six words drawn at random, shown so that you can write it down</source>
        <translation>Fill in a passphrase of six words drawn at random, shown so that you can write it down</translation>
    </message>
    <message>
        <source>The two entries match.</source>
        <translation>The two entries match.</translation>
    </message>
    <message>
        <source>The two entries match so far.</source>
        <translation>The two entries match so far.</translation>
    </message>
    <message>
        <source>The two entries do not match.</source>
        <translation>The two entries do not match.</translation>
    </message>
</context>
<context>
    <name>tazen::TProgressDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>%1 %2 files total.</source>
        <translation>%1 %2 files total.</translation>
    </message>
    <message>
        <source>%1 one file total</source>
        <translation>%1 one file total</translation>
    </message>
</context>
<context>
    <name>tazen::TSettingsDialog</name>
    <message>
        <source>Denna version utav TaZEN är begränsad till Blowfish för filkryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation>This version of TaZEN is limited to Blowfish for file encryption.
<byte value="xd"/>The finished version will contain the listed algorithms.
<byte value="xd"/>Keep an eye out for an update!</translation>
    </message>
    <message>
        <source>Denna version utav TaZEN är begränsad till SHA-1 för lösenordskryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation>This version of TaZEN is limited to SHA-1 for password encryption.
<byte value="xd"/>The finished version will contain the listed algorithms.
<byte value="xd"/>Keep an eye out for an update!</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>File encryption algorithm:</source>
        <translation>File encryption algorithm:</translation>
    </message>
    <message>
        <source>Password hash algotihm</source>
        <translation>Password hash algotihm</translation>
    </message>
    <message>
        <source>Compress files before encryption (version 1.0).</source>
        <translation>Compress files before encryption (version 1.0).</translation>
    </message>
    <message>
        <source>Make encrypted files executable.</source>
        <translation>Make encrypted files executable.</translation>
    </message>
    <message>
        <source>Recipient&apos;s system:</source>
        <translation>Recipient&apos;s system:</translation>
    </message>
    <message>
        <source>Recipient&apos;s system</source>
        <translation>Recipient&apos;s system</translation>
    </message>
    <message>
        <source>The system the self-extracting executable is made to run on</source>
        <translation>The system the self-extracting executable is made to run on</translation>
    </message>
    <message>
        <source> What to do with source files after encryption </source>
        <translation> What to do with source files after encryption </translation>
    </message>
    <message>
        <source>Leave unchanged.</source>
        <translation>Leave unchanged.</translation>
    </message>
    <message>
        <source>Delete.</source>
        <translation>Delete.</translation>
    </message>
    <message>
        <source>Shred before delete (Gutman pass-35).</source>
        <translation>Shred before delete (Gutman pass-35).</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>tazen::TStrengthBar</name>
    <message>
        <source>Password strength</source>
        <translation>Password strength</translation>
    </message>
</context>
<context>
    <name>tazen::TscanDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>TaZEN - Adding files for decryption.</source>
        <translation>TaZEN - Adding files for decryption.</translation>
    </message>
    <message>
        <source>TaZEN - Adding files for encryption.</source>
        <translation>TaZEN - Adding files for encryption.</translation>
    </message>
</context>
<context>
    <name>tazen::TshredDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
</TS>
