<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>Interaction</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Could not open source file: &quot;%1&quot;
<byte value="xd"/>This could happen if the file is write-protected.
<byte value="xd"/>Remove the write-protection and try again.</source>
        <translation>Impossible d’ouvrir le fichier source&#xa0;: «&#xa0;%1&#xa0;»
<byte value="xd"/>Cela peut arriver si le fichier est protégé en écriture.
<byte value="xd"/>Retirez la protection en écriture et réessayez.</translation>
    </message>
    <message>
        <source>Could not open source file: %1</source>
        <translation>Impossible d’ouvrir le fichier source&#xa0;: %1</translation>
    </message>
    <message>
        <source>The file is too short to be a TaZEN encrypted file: %1</source>
        <translation>Le fichier est trop court pour être un fichier chiffré par TaZEN&#xa0;: %1</translation>
    </message>
    <message>
        <source>Could not create destination file: %1</source>
        <translation>Impossible de créer le fichier de destination&#xa0;: %1</translation>
    </message>
    <message>
        <source>Wrong password for the file: %1</source>
        <translation>Mot de passe incorrect pour le fichier&#xa0;: %1</translation>
    </message>
    <message>
        <source>Could not read the file: %1</source>
        <translation>Impossible de lire le fichier&#xa0;: %1</translation>
    </message>
    <message>
        <source>Could not write the file: %1</source>
        <translation>Impossible d’écrire le fichier&#xa0;: %1</translation>
    </message>
    <message>
        <source>Could not delete the file: %1</source>
        <translation>Impossible de supprimer le fichier&#xa0;: %1</translation>
    </message>
    <message>
        <source>Source file %1 changed while it was read.</source>
        <translation>Le fichier source %1 a été modifié pendant sa lecture.</translation>
    </message>
    <message>
        <source>Encryption canceled</source>
        <translation>Chiffrement annulé</translation>
    </message>
    <message>
        <source>Decryption canceled</source>
        <translation>Déchiffrement annulé</translation>
    </message>
    <message>
        <source>Source file %1 not deleted.</source>
        <translation>Le fichier source %1 n’a pas été supprimé.</translation>
    </message>
    <message>
        <source>Source file %1 not thoroughly shredded.</source>
        <translation>Le fichier source %1 n’a pas été entièrement détruit.</translation>
    </message>
    <message>
        <source>An error occured while creating %1 executable.</source>
        <translation>Une erreur s’est produite lors de la création de l’exécutable %1.</translation>
    </message>
    <message>
        <source>Could not over-write the file: %1</source>
        <translation>Impossible d’écraser le fichier&#xa0;: %1</translation>
    </message>
    <message>
        <source>Encrypting</source>
        <translation>Chiffrement</translation>
    </message>
    <message>
        <source>Decrypting</source>
        <translation>Déchiffrement</translation>
    </message>
    <message>
        <source>Pass %1 of %2</source>
        <translation>Passe %1 sur %2</translation>
    </message>
    <message>
        <source>Could not verify the encrypted file: %1</source>
        <translation>Impossible de vérifier le fichier chiffré&#xa0;: %1</translation>
    </message>
    <message>
        <source>Could not verify the decrypted file: %1</source>
        <translation>Impossible de vérifier le fichier déchiffré&#xa0;: %1</translation>
    </message>
    <message>
        <source>Other names (hard links) still lead to its data.</source>
        <translation>D’autres noms (liens physiques) mènent encore à ses données.</translation>
    </message>
    <message>
        <source>The file system keeps earlier copies of changed data (copy-on-write).</source>
        <translation>Le système de fichiers conserve des copies antérieures des données modifiées (copie sur écriture).</translation>
    </message>
    <message>
        <source>File shredding (Gutman pass-35)</source>
        <translation>Destruction de fichier (Gutmann, 35 passes)</translation>
    </message>
    <message>
        <source>Shredding file:</source>
        <translation>Destruction du fichier&#xa0;:</translation>
    </message>
    <message>
        <source>Creating executable file</source>
        <translation>Création du fichier exécutable</translation>
    </message>
    <message>
        <source>Creating the executable file: </source>
        <translation>Création du fichier exécutable&#xa0;: </translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>unchanged</source>
        <translation>inchangé</translation>
    </message>
    <message>
        <source>saved %1</source>
        <translation>enregistré %1</translation>
    </message>
    <message>
        <source>saving failed: %1</source>
        <translation>échec de l’enregistrement&#xa0;: %1</translation>
    </message>
    <message>
        <source>The folder %1 is on a disk (%2), not in memory: the decrypted copy would be written to the disk, where it could be read back after it is removed.</source>
        <translation>Le dossier %1 est sur un disque (%2), pas en mémoire&#xa0;: la copie déchiffrée serait écrite sur le disque, où elle pourrait être relue même après sa suppression.</translation>
    </message>
    <message>
        <source>No private folder for the decrypted copy: %1</source>
        <translation>Aucun dossier privé pour la copie déchiffrée&#xa0;: %1</translation>
    </message>
    <message>
        <source>Could not make the private folder %1</source>
        <translation>Impossible de créer le dossier privé %1</translation>
    </message>
    <message>
        <source>The encrypted file %1 is gone: the copy left behind is not saved back without it.</source>
        <translation>Le fichier chiffré %1 n’existe plus&#xa0;: sans lui, la copie restée n’est pas réenregistrée.</translation>
    </message>
    <message>
        <source>Could not save %1 back: the file %2 beside it would be replaced on the way. Move %2 elsewhere, then save again.</source>
        <translation>Impossible d’enregistrer %1 : le fichier %2 à côté serait remplacé en chemin. Déplacez %2 ailleurs, puis enregistrez de nouveau.</translation>
    </message>
    <message>
        <source>%1 cannot be opened in place: its decrypted copy would have no name. Rename it first.</source>
        <translation>%1 ne peut pas être ouvert sur place : sa copie déchiffrée n’aurait pas de nom. Renommez-le d’abord.</translation>
    </message>
    <message>
        <source>%1 cannot be opened in place: its decrypted copy would be named %2, as TaZEN&apos;s own record beside the copy is. Rename it first.</source>
        <translation>%1 ne peut pas être ouvert sur place : sa copie déchiffrée s’appellerait %2, comme la note que TaZEN garde à côté de la copie. Renommez-le d’abord.</translation>
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
        <translation>Annuler</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Oui</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Non</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abandonner</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Impossible d’écrire dans %1</translation>
    </message>
</context>
<context>
    <name>Strength</name>
    <message>
        <source>Very weak</source>
        <translation>Très faible</translation>
    </message>
    <message>
        <source>Weak</source>
        <translation>Faible</translation>
    </message>
    <message>
        <source>Fair</source>
        <translation>Moyen</translation>
    </message>
    <message>
        <source>Good</source>
        <translation>Bon</translation>
    </message>
    <message>
        <source>Strong</source>
        <translation>Fort</translation>
    </message>
    <message>
        <source>less than a second</source>
        <translation>moins d’une seconde</translation>
    </message>
    <message>
        <source>about %1 second</source>
        <translation>environ %1 seconde</translation>
    </message>
    <message>
        <source>about %1 seconds</source>
        <translation>environ %1 secondes</translation>
    </message>
    <message>
        <source>about %1 minute</source>
        <translation>environ %1 minute</translation>
    </message>
    <message>
        <source>about %1 minutes</source>
        <translation>environ %1 minutes</translation>
    </message>
    <message>
        <source>about %1 hour</source>
        <translation>environ %1 heure</translation>
    </message>
    <message>
        <source>about %1 hours</source>
        <translation>environ %1 heures</translation>
    </message>
    <message>
        <source>about %1 day</source>
        <translation>environ %1 jour</translation>
    </message>
    <message>
        <source>about %1 days</source>
        <translation>environ %1 jours</translation>
    </message>
    <message>
        <source>about %1 month</source>
        <translation>environ %1 mois</translation>
    </message>
    <message>
        <source>about %1 months</source>
        <translation>environ %1 mois</translation>
    </message>
    <message>
        <source>about %1 year</source>
        <translation>environ %1 an</translation>
    </message>
    <message>
        <source>about %1 years</source>
        <translation>environ %1 ans</translation>
    </message>
    <message>
        <source>about %1 thousand years</source>
        <translation>environ %1&#xa0;000 ans</translation>
    </message>
    <message>
        <source>about %1 million years</source>
        <translation>environ %1 millions d’années</translation>
    </message>
    <message>
        <source>about %1 billion years</source>
        <translation>environ %1 milliards d’années</translation>
    </message>
    <message>
        <source>more than a trillion years</source>
        <translation>plus de mille milliards d’années</translation>
    </message>
    <message>
        <source>%1: guessed in %2 by one current graphics card.</source>
        <translation>%1&#xa0;: deviné en %2 par une carte graphique actuelle.</translation>
    </message>
    <message>
        <source>about 1 thousand years</source>
        <translation>environ mille ans</translation>
    </message>
    <message>
        <source>about 1 million years</source>
        <translation>environ 1 million d’années</translation>
    </message>
    <message>
        <source>about 1 billion years</source>
        <translation>environ 1 milliard d’années</translation>
    </message>
</context>
<context>
    <name>tazen::TAboutBox</name>
    <message>
        <source>Version 0.9 English</source>
        <translation>Version 0.9 française</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1&#xa0;Ko</translation>
    </message>
    <message>
        <source>Could not open helpfile: %1</source>
        <translation>Impossible d’ouvrir le fichier d’aide&#xa0;: %1</translation>
    </message>
    <message>
        <source>About TaZEN</source>
        <translation>À propos de TaZEN</translation>
    </message>
    <message>
        <source>TaZEN for Linux</source>
        <translation>TaZEN pour Linux</translation>
    </message>
    <message>
        <source>Free software under the GNU GPL, version 3 or later</source>
        <translation>Logiciel libre sous licence GNU GPL, version 3 ou ultérieure</translation>
    </message>
    <message>
        <source>Feed-back:</source>
        <translation>Commentaires&#xa0;:</translation>
    </message>
    <message>
        <source>Updates:</source>
        <translation>Mises à jour&#xa0;:</translation>
    </message>
    <message>
        <source>Total physical memory:</source>
        <translation>Mémoire physique totale&#xa0;:</translation>
    </message>
    <message>
        <source>Available physical memory:</source>
        <translation>Mémoire physique disponible&#xa0;:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1.%2 (Build %3)</source>
        <translation>%1.%2 (build %3)</translation>
    </message>
</context>
<context>
    <name>tazen::TFileListModel</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
</context>
<context>
    <name>tazen::TForm1</name>
    <message>
        <source>No files found for encryption in %1</source>
        <translation>Aucun fichier à chiffrer trouvé dans %1</translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1 or its sub directories.</source>
        <translation>Aucun fichier chiffré par TaZEN trouvé dans %1 ni dans ses sous-dossiers.</translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1</source>
        <translation>Aucun fichier chiffré par TaZEN trouvé dans %1</translation>
    </message>
    <message>
        <source>You have choosen to add all files on %1 for encryption.
<byte value="xd"/>This might take a while, do you wish to continue?</source>
        <translation>Vous avez choisi d’ajouter tous les fichiers de %1 pour les chiffrer.
<byte value="xd"/>Cela peut prendre un certain temps. Voulez-vous continuer&#xa0;?</translation>
    </message>
    <message>
        <source>Include sub directories for %1?</source>
        <translation>Inclure les sous-dossiers de %1&#xa0;?</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Veuillez patienter...</translation>
    </message>
    <message>
        <source>%1 entries were not added: their paths are longer than the system allows.</source>
        <translation>%1 éléments n’ont pas été ajoutés&#xa0;: leur chemin dépasse la longueur permise par le système.</translation>
    </message>
    <message>
        <source> The first %1 of them:</source>
        <translation> Voici les %1 premiers&#xa0;:</translation>
    </message>
    <message>
        <source>All files (*.*)|*.*</source>
        <translation>Tous les fichiers (*.*)|*.*</translation>
    </message>
    <message>
        <source>Encrypted files (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</source>
        <translation>Fichiers chiffrés (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</translation>
    </message>
    <message>
        <source>Unencrypted</source>
        <translation>Non chiffré</translation>
    </message>
    <message>
        <source>Encrypted</source>
        <translation>Chiffré</translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation>chiffré</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1&#xa0;Ko</translation>
    </message>
    <message>
        <source>The original files will be kept.</source>
        <translation>Les fichiers d’origine seront conservés.</translation>
    </message>
    <message>
        <source>The original files will be deleted.</source>
        <translation>Les fichiers d’origine seront supprimés.</translation>
    </message>
    <message>
        <source>The original files will be shredded.</source>
        <translation>Les fichiers d’origine seront écrasés puis supprimés.</translation>
    </message>
    <message>
        <source> Settings chooses what becomes of them.</source>
        <translation> Ce choix se fait dans les Paramètres.</translation>
    </message>
    <message>
        <source> was not found, or is not a file.</source>
        <translation> est introuvable ou n’est pas un fichier.</translation>
    </message>
    <message>
        <source> is encrypted already.</source>
        <translation> est déjà chiffré.</translation>
    </message>
    <message>
        <source> is not a TaZEN encrypted file.</source>
        <translation> n’est pas un fichier chiffré par TaZEN.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation>&amp;Chiffrer</translation>
    </message>
    <message>
        <source>&amp;Decrypt</source>
        <translation>&amp;Déchiffrer</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Aid&amp;e</translation>
    </message>
    <message>
        <source>&amp;TaZEN Help</source>
        <translation>&amp;Aide de TaZEN</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>À &amp;propos...</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Commandes</translation>
    </message>
    <message>
        <source>More commands</source>
        <translation>Autres commandes</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Ajouter</translation>
    </message>
    <message>
        <source>Lägg till filer för kryptering eller dekryptering</source>
        <translation>Ajouter des fichiers à chiffrer ou à déchiffrer</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Retirer</translation>
    </message>
    <message>
        <source>Ta bort markerade filer</source>
        <translation>Retirer les fichiers sélectionnés de la liste</translation>
    </message>
    <message>
        <source>Kryptera valda filer</source>
        <translation>Chiffrer les fichiers de la liste</translation>
    </message>
    <message>
        <source>Dekryptera valda filer</source>
        <translation>Déchiffrer les fichiers de la liste</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Paramètres</translation>
    </message>
    <message>
        <source>Ändra inställningar</source>
        <translation>Modifier les paramètres</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Encrypt</source>
        <translation>Chiffrer</translation>
    </message>
    <message>
        <source>Decrypt</source>
        <translation>Déchiffrer</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Inconnue</translation>
    </message>
    <message>
        <source>Okänd</source>
        <translation>Inconnue</translation>
    </message>
    <message>
        <source>%1 already choosen.</source>
        <translation>%1 a déjà été ajouté.</translation>
    </message>
    <message>
        <source>One file choosen for encryption</source>
        <translation>Un fichier à chiffrer</translation>
    </message>
    <message>
        <source>One file choosen for decryption</source>
        <translation>Un fichier à déchiffrer</translation>
    </message>
    <message>
        <source>%1 files choosen for encryption</source>
        <translation>%1 fichiers à chiffrer</translation>
    </message>
    <message>
        <source>%1 files choosen for decryption</source>
        <translation>%1 fichiers à déchiffrer</translation>
    </message>
    <message>
        <source>You must first select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu.</source>
        <translation>Vous devez d’abord choisir «&#xa0;Chiffrer&#xa0;» ou «&#xa0;Déchiffrer&#xa0;» dans le menu «&#xa0;Fichier&#xa0;».</translation>
    </message>
    <message>
        <source>There are no files to remove.</source>
        <translation>Il n’y a aucun fichier à retirer.</translation>
    </message>
    <message>
        <source>Select the files you want to remove.</source>
        <translation>Sélectionnez les fichiers à retirer.</translation>
    </message>
    <message>
        <source>Not listed for encryption:</source>
        <translation>Fichiers non ajoutés pour le chiffrement&#xa0;:</translation>
    </message>
    <message>
        <source>Not listed for decryption:</source>
        <translation>Fichiers non ajoutés pour le déchiffrement&#xa0;:</translation>
    </message>
    <message>
        <source>
<byte value="xd"/>and %1 more.</source>
        <translation>
<byte value="xd"/>et %1 autres.</translation>
    </message>
    <message>
        <source>Could not suggest a passphrase: %1</source>
        <translation>Impossible de suggérer une phrase de passe&#xa0;: %1</translation>
    </message>
    <message>
        <source>You must first add the files you wish to encypt.</source>
        <translation>Vous devez d’abord ajouter les fichiers à chiffrer.</translation>
    </message>
    <message>
        <source>You must first add the files you wish to decrypt.</source>
        <translation>Vous devez d’abord ajouter les fichiers à déchiffrer.</translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation>Saisissez le mot de passe</translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation>Confirmez le mot de passe</translation>
    </message>
    <message>
        <source>Passwords do not match.</source>
        <translation>Les mots de passe ne concordent pas.</translation>
    </message>
    <message>
        <source>Select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu or &quot;drag and drop&quot; files directly on the application.</source>
        <translation>Choisissez «&#xa0;Chiffrer&#xa0;» ou «&#xa0;Déchiffrer&#xa0;» dans le menu «&#xa0;Fichier&#xa0;», ou glissez-déposez des fichiers directement sur l’application.</translation>
    </message>
    <message>
        <source>TaZEN runs alone: a second start cannot hand its files to this window.</source>
        <translation>TaZEN fonctionne seul&#xa0;: un second lancement ne peut pas transmettre ses fichiers à cette fenêtre.</translation>
    </message>
    <message>
        <source>Operation only allowed on folders.</source>
        <translation>Opération possible uniquement sur des dossiers.</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Ouvrir...</translation>
    </message>
    <message>
        <source>Open &amp;files</source>
        <translation>&amp;Fichiers ouverts</translation>
    </message>
    <message>
        <source>Could not save the last change of %1: %2
<byte value="xd"/>The decrypted copy is kept in %3; TaZEN offers to save it back at its next start.</source>
        <translation>Impossible d’enregistrer la dernière modification de %1 : %2
<byte value="xd"/>La copie déchiffrée est conservée dans %3 ; TaZEN proposera de la réenregistrer à son prochain démarrage.</translation>
    </message>
    <message>
        <source>Select an encrypted file in the list to open it.</source>
        <translation>Sélectionnez un fichier chiffré dans la liste pour l’ouvrir.</translation>
    </message>
    <message>
        <source>No encrypted file is open.</source>
        <translation>Aucun fichier chiffré n’est ouvert.</translation>
    </message>
    <message>
        <source>
<byte value="xd"/>Write the decrypted copy there all the same?</source>
        <translation>
<byte value="xd"/>Écrire quand même la copie déchiffrée à cet endroit ?</translation>
    </message>
    <message>
        <source>No application opened the decrypted copy; open it yourself: %1</source>
        <translation>Aucune application n’a ouvert la copie déchiffrée ; ouvrez-la vous-même : %1</translation>
    </message>
    <message>
        <source>an unknown encrypted file</source>
        <translation>un fichier chiffré inconnu</translation>
    </message>
    <message>
        <source>A decrypted copy of %1 was left behind when TaZEN last ended:
<byte value="xd"/>%2
<byte value="xd"/>Yes saves it back into the encrypted file, No discards it (overwritten, then removed), Cancel leaves it for the next start.</source>
        <translation>Une copie déchiffrée de %1 est restée lors de la dernière fin de TaZEN :
<byte value="xd"/>%2
<byte value="xd"/>Oui la réenregistre dans le fichier chiffré, Non la supprime (écrasée, puis retirée), Annuler la laisse pour le prochain démarrage.</translation>
    </message>
    <message>
        <source>Could not remove %1: %2</source>
        <translation>Impossible de retirer %1 : %2</translation>
    </message>
</context>
<context>
    <name>tazen::THelpWindow</name>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Précédent</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Suivant</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
</context>
<context>
    <name>tazen::TOpenFilesWindow</name>
    <message>
        <source>Open files</source>
        <translation>Fichiers ouverts</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>State</source>
        <translation>État</translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation>&amp;Terminé</translation>
    </message>
    <message>
        <source>Saves a last change of the selected file and removes its decrypted copy</source>
        <translation>Enregistre une dernière modification du fichier sélectionné et retire sa copie déchiffrée</translation>
    </message>
    <message>
        <source>saving… %1%</source>
        <translation>enregistrement… %1 %</translation>
    </message>
</context>
<context>
    <name>tazen::TPasswordDlg</name>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation>Saisissez le mot de passe</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Show password</source>
        <translation>Afficher le &amp;mot de passe</translation>
    </message>
    <message>
        <source>Su&amp;ggest</source>
        <translation>&amp;Suggérer</translation>
    </message>
    <message>
        <source>Fill in a passphrase of six words drawn at random, shown so that you can write it down</source>
        <translation>Remplir avec une phrase de passe de six mots tirés au hasard, affichée pour que vous puissiez la noter</translation>
    </message>
    <message>
        <source>The two entries match.</source>
        <translation>Les deux saisies concordent.</translation>
    </message>
    <message>
        <source>The two entries match so far.</source>
        <translation>Les deux saisies concordent jusqu’ici.</translation>
    </message>
    <message>
        <source>The two entries do not match.</source>
        <translation>Les deux saisies ne concordent pas.</translation>
    </message>
</context>
<context>
    <name>tazen::TProgressDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>%1 %2 files total.</source>
        <translation>%1 de %2 fichiers au total.</translation>
    </message>
    <message>
        <source>%1 one file total</source>
        <translation>%1 d’un seul fichier</translation>
    </message>
</context>
<context>
    <name>tazen::TSettingsDialog</name>
    <message>
        <source>Denna version utav TaZEN är begränsad till Blowfish för filkryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation>Cette version de TaZEN est limitée à Blowfish pour le chiffrement des fichiers.
<byte value="xd"/>La version finale comprendra les algorithmes de la liste.
<byte value="xd"/>Surveillez les mises à jour&#xa0;!</translation>
    </message>
    <message>
        <source>Denna version utav TaZEN är begränsad till SHA-1 för lösenordskryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation>Cette version de TaZEN est limitée à SHA-1 pour le hachage des mots de passe.
<byte value="xd"/>La version finale comprendra les algorithmes de la liste.
<byte value="xd"/>Surveillez les mises à jour&#xa0;!</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>File encryption algorithm:</source>
        <translation>Algorithme de chiffrement des fichiers&#xa0;:</translation>
    </message>
    <message>
        <source>Password hash algotihm</source>
        <translation>Algorithme de hachage du mot de passe</translation>
    </message>
    <message>
        <source>Compress files before encryption (version 1.0).</source>
        <translation>Compresser les fichiers avant le chiffrement (version 1.0).</translation>
    </message>
    <message>
        <source>Make encrypted files executable.</source>
        <translation>Rendre les fichiers chiffrés exécutables.</translation>
    </message>
    <message>
        <source>Recipient&apos;s system:</source>
        <translation>Système du destinataire&#xa0;:</translation>
    </message>
    <message>
        <source>Recipient&apos;s system</source>
        <translation>Système du destinataire</translation>
    </message>
    <message>
        <source>The system the self-extracting executable is made to run on</source>
        <translation>Le système sur lequel l’exécutable auto-extractible doit fonctionner</translation>
    </message>
    <message>
        <source> What to do with source files after encryption </source>
        <translation> Que faire des fichiers source après le chiffrement </translation>
    </message>
    <message>
        <source>Leave unchanged.</source>
        <translation>Laisser inchangés.</translation>
    </message>
    <message>
        <source>Delete.</source>
        <translation>Supprimer.</translation>
    </message>
    <message>
        <source>Shred before delete (Gutman pass-35).</source>
        <translation>Écraser avant de supprimer (Gutmann, 35 passes).</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
</context>
<context>
    <name>tazen::TStrengthBar</name>
    <message>
        <source>Password strength</source>
        <translation>Robustesse du mot de passe</translation>
    </message>
</context>
<context>
    <name>tazen::TscanDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>TaZEN - Adding files for decryption.</source>
        <translation>TaZEN - Ajout de fichiers à déchiffrer.</translation>
    </message>
    <message>
        <source>TaZEN - Adding files for encryption.</source>
        <translation>TaZEN - Ajout de fichiers à chiffrer.</translation>
    </message>
</context>
<context>
    <name>tazen::TshredDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
</context>
</TS>
