<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>Interaction</name>
    <message>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirmar</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Could not open source file: &quot;%1&quot;
<byte value="xd"/>This could happen if the file is write-protected.
<byte value="xd"/>Remove the write-protection and try again.</source>
        <translation>No se pudo abrir el archivo de origen: «%1»
<byte value="xd"/>Esto puede ocurrir si el archivo está protegido contra escritura.
<byte value="xd"/>Quite la protección contra escritura e inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>Could not open source file: %1</source>
        <translation>No se pudo abrir el archivo de origen: %1</translation>
    </message>
    <message>
        <source>The file is too short to be a TaZEN encrypted file: %1</source>
        <translation>El archivo es demasiado corto para ser un archivo cifrado con TaZEN: %1</translation>
    </message>
    <message>
        <source>Could not create destination file: %1</source>
        <translation>No se pudo crear el archivo de destino: %1</translation>
    </message>
    <message>
        <source>Wrong password for the file: %1</source>
        <translation>Contraseña incorrecta para el archivo: %1</translation>
    </message>
    <message>
        <source>Could not read the file: %1</source>
        <translation>No se pudo leer el archivo: %1</translation>
    </message>
    <message>
        <source>Could not write the file: %1</source>
        <translation>No se pudo escribir el archivo: %1</translation>
    </message>
    <message>
        <source>Could not delete the file: %1</source>
        <translation>No se pudo eliminar el archivo: %1</translation>
    </message>
    <message>
        <source>Source file %1 changed while it was read.</source>
        <translation>El archivo de origen %1 cambió mientras se leía.</translation>
    </message>
    <message>
        <source>Encryption canceled</source>
        <translation>Cifrado cancelado</translation>
    </message>
    <message>
        <source>Decryption canceled</source>
        <translation>Descifrado cancelado</translation>
    </message>
    <message>
        <source>Source file %1 not deleted.</source>
        <translation>No se eliminó el archivo de origen %1.</translation>
    </message>
    <message>
        <source>Source file %1 not thoroughly shredded.</source>
        <translation>El archivo de origen %1 no se trituró por completo.</translation>
    </message>
    <message>
        <source>An error occured while creating %1 executable.</source>
        <translation>Se produjo un error al crear el ejecutable de %1.</translation>
    </message>
    <message>
        <source>Could not over-write the file: %1</source>
        <translation>No se pudo sobrescribir el archivo: %1</translation>
    </message>
    <message>
        <source>Encrypting</source>
        <translation>Cifrando</translation>
    </message>
    <message>
        <source>Decrypting</source>
        <translation>Descifrando</translation>
    </message>
    <message>
        <source>Pass %1 of %2</source>
        <translation>Pasada %1 de %2</translation>
    </message>
    <message>
        <source>Could not verify the encrypted file: %1</source>
        <translation>No se pudo verificar el archivo cifrado: %1</translation>
    </message>
    <message>
        <source>Could not verify the decrypted file: %1</source>
        <translation>No se pudo verificar el archivo descifrado: %1</translation>
    </message>
    <message>
        <source>Other names (hard links) still lead to its data.</source>
        <translation>Otros nombres (enlaces duros) siguen apuntando a sus datos.</translation>
    </message>
    <message>
        <source>The file system keeps earlier copies of changed data (copy-on-write).</source>
        <translation>El sistema de archivos conserva copias anteriores de los datos modificados (copia en escritura).</translation>
    </message>
    <message>
        <source>File shredding (Gutman pass-35)</source>
        <translation>Trituración de archivos (Gutmann, 35 pasadas)</translation>
    </message>
    <message>
        <source>Shredding file:</source>
        <translation>Triturando el archivo:</translation>
    </message>
    <message>
        <source>Creating executable file</source>
        <translation>Creando el archivo ejecutable</translation>
    </message>
    <message>
        <source>Creating the executable file: </source>
        <translation>Creando el archivo ejecutable: </translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>unchanged</source>
        <translation>sin cambios</translation>
    </message>
    <message>
        <source>saved %1</source>
        <translation>guardado %1</translation>
    </message>
    <message>
        <source>saving failed: %1</source>
        <translation>no se pudo guardar: %1</translation>
    </message>
    <message>
        <source>The folder %1 is on a disk (%2), not in memory: the decrypted copy would be written to the disk, where it could be read back after it is removed.</source>
        <translation>La carpeta %1 está en un disco (%2), no en memoria: la copia descifrada se escribiría en el disco, donde podría leerse aun después de eliminarla.</translation>
    </message>
    <message>
        <source>No private folder for the decrypted copy: %1</source>
        <translation>No hay una carpeta privada para la copia descifrada: %1</translation>
    </message>
    <message>
        <source>Could not make the private folder %1</source>
        <translation>No se pudo crear la carpeta privada %1</translation>
    </message>
    <message>
        <source>The encrypted file %1 is gone: the copy left behind is not saved back without it.</source>
        <translation>El archivo cifrado %1 ya no está: sin él, la copia que quedó no se vuelve a guardar.</translation>
    </message>
    <message>
        <source>Could not save %1 back: the file %2 beside it would be replaced on the way. Move %2 elsewhere, then save again.</source>
        <translation>No se pudo guardar %1: el archivo %2 que está a su lado se reemplazaría por el camino. Mueva %2 a otro lugar y vuelva a guardar.</translation>
    </message>
    <message>
        <source>%1 cannot be opened in place: its decrypted copy would have no name. Rename it first.</source>
        <translation>%1 no se puede abrir en su sitio: su copia descifrada no tendría nombre. Cámbiele el nombre primero.</translation>
    </message>
    <message>
        <source>%1 cannot be opened in place: its decrypted copy would be named %2, as TaZEN&apos;s own record beside the copy is. Rename it first.</source>
        <translation>%1 no se puede abrir en su sitio: su copia descifrada se llamaría %2, como el registro propio de TaZEN junto a la copia. Cámbiele el nombre primero.</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Sí</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Interrumpir</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>No se puede escribir en %1</translation>
    </message>
</context>
<context>
    <name>Strength</name>
    <message>
        <source>Very weak</source>
        <translation>Muy débil</translation>
    </message>
    <message>
        <source>Weak</source>
        <translation>Débil</translation>
    </message>
    <message>
        <source>Fair</source>
        <translation>Aceptable</translation>
    </message>
    <message>
        <source>Good</source>
        <translation>Buena</translation>
    </message>
    <message>
        <source>Strong</source>
        <translation>Fuerte</translation>
    </message>
    <message>
        <source>less than a second</source>
        <translation>menos de un segundo</translation>
    </message>
    <message>
        <source>about %1 second</source>
        <translation>alrededor de %1 segundo</translation>
    </message>
    <message>
        <source>about %1 seconds</source>
        <translation>alrededor de %1 segundos</translation>
    </message>
    <message>
        <source>about %1 minute</source>
        <translation>alrededor de %1 minuto</translation>
    </message>
    <message>
        <source>about %1 minutes</source>
        <translation>alrededor de %1 minutos</translation>
    </message>
    <message>
        <source>about %1 hour</source>
        <translation>alrededor de %1 hora</translation>
    </message>
    <message>
        <source>about %1 hours</source>
        <translation>alrededor de %1 horas</translation>
    </message>
    <message>
        <source>about %1 day</source>
        <translation>alrededor de %1 día</translation>
    </message>
    <message>
        <source>about %1 days</source>
        <translation>alrededor de %1 días</translation>
    </message>
    <message>
        <source>about %1 month</source>
        <translation>alrededor de %1 mes</translation>
    </message>
    <message>
        <source>about %1 months</source>
        <translation>alrededor de %1 meses</translation>
    </message>
    <message>
        <source>about %1 year</source>
        <translation>alrededor de %1 año</translation>
    </message>
    <message>
        <source>about %1 years</source>
        <translation>alrededor de %1 años</translation>
    </message>
    <message>
        <source>about %1 thousand years</source>
        <translation>alrededor de %1 mil años</translation>
    </message>
    <message>
        <source>about %1 million years</source>
        <translation>alrededor de %1 millones de años</translation>
    </message>
    <message>
        <source>about %1 billion years</source>
        <translation>alrededor de %1 mil millones de años</translation>
    </message>
    <message>
        <source>more than a trillion years</source>
        <translation>más de un billón de años</translation>
    </message>
    <message>
        <source>%1: guessed in %2 by one current graphics card.</source>
        <translation>%1: una tarjeta gráfica actual la adivinaría en %2.</translation>
    </message>
    <message>
        <source>about 1 thousand years</source>
        <translation>alrededor de mil años</translation>
    </message>
    <message>
        <source>about 1 million years</source>
        <translation>alrededor de un millón de años</translation>
    </message>
    <message>
        <source>about 1 billion years</source>
        <translation>alrededor de mil millones de años</translation>
    </message>
</context>
<context>
    <name>tazen::TAboutBox</name>
    <message>
        <source>Version 0.9 English</source>
        <translation>Versión 0.9 Español</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>Could not open helpfile: %1</source>
        <translation>No se pudo abrir el archivo de ayuda: %1</translation>
    </message>
    <message>
        <source>About TaZEN</source>
        <translation>Acerca de TaZEN</translation>
    </message>
    <message>
        <source>TaZEN for Linux</source>
        <translation>TaZEN para Linux</translation>
    </message>
    <message>
        <source>Free software under the GNU GPL, version 3 or later</source>
        <translation>Software libre bajo la GNU GPL, versión 3 o posterior</translation>
    </message>
    <message>
        <source>Feed-back:</source>
        <translation>Comentarios:</translation>
    </message>
    <message>
        <source>Updates:</source>
        <translation>Actualizaciones:</translation>
    </message>
    <message>
        <source>Total physical memory:</source>
        <translation>Memoria física total:</translation>
    </message>
    <message>
        <source>Available physical memory:</source>
        <translation>Memoria física disponible:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>%1.%2 (Build %3)</source>
        <translation>%1.%2 (compilación %3)</translation>
    </message>
</context>
<context>
    <name>tazen::TFileListModel</name>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
</context>
<context>
    <name>tazen::TForm1</name>
    <message>
        <source>No files found for encryption in %1</source>
        <translation>No se encontraron archivos para cifrar en %1</translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1 or its sub directories.</source>
        <translation>No se encontraron archivos cifrados con TaZEN en %1 ni en sus subcarpetas.</translation>
    </message>
    <message>
        <source>No TaZEN encrypted files found in %1</source>
        <translation>No se encontraron archivos cifrados con TaZEN en %1</translation>
    </message>
    <message>
        <source>You have choosen to add all files on %1 for encryption.
<byte value="xd"/>This might take a while, do you wish to continue?</source>
        <translation>Ha elegido añadir todos los archivos de %1 para cifrarlos.
<byte value="xd"/>Esto puede tardar un rato. ¿Quiere continuar?</translation>
    </message>
    <message>
        <source>Include sub directories for %1?</source>
        <translation>¿Incluir las subcarpetas de %1?</translation>
    </message>
    <message>
        <source>Please wait...</source>
        <translation>Espere, por favor...</translation>
    </message>
    <message>
        <source>%1 entries were not added: their paths are longer than the system allows.</source>
        <translation>No se añadieron %1 entradas: sus rutas son más largas de lo que permite el sistema.</translation>
    </message>
    <message>
        <source> The first %1 of them:</source>
        <translation> Las %1 primeras:</translation>
    </message>
    <message>
        <source>All files (*.*)|*.*</source>
        <translation>Todos los archivos (*.*)|*.*</translation>
    </message>
    <message>
        <source>Encrypted files (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</source>
        <translation>Archivos cifrados (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe</translation>
    </message>
    <message>
        <source>Unencrypted</source>
        <translation>Sin cifrar</translation>
    </message>
    <message>
        <source>Encrypted</source>
        <translation>Cifrado</translation>
    </message>
    <message>
        <source>encrypted</source>
        <translation>cifrado</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>The original files will be kept.</source>
        <translation>Los archivos originales se conservarán.</translation>
    </message>
    <message>
        <source>The original files will be deleted.</source>
        <translation>Los archivos originales se eliminarán.</translation>
    </message>
    <message>
        <source>The original files will be shredded.</source>
        <translation>Los archivos originales se triturarán.</translation>
    </message>
    <message>
        <source> Settings chooses what becomes of them.</source>
        <translation> Lo que se hace con ellos se elige en Preferencias.</translation>
    </message>
    <message>
        <source> was not found, or is not a file.</source>
        <translation> no se encontró o no es un archivo.</translation>
    </message>
    <message>
        <source> is encrypted already.</source>
        <translation> ya está cifrado.</translation>
    </message>
    <message>
        <source> is not a TaZEN encrypted file.</source>
        <translation> no es un archivo cifrado con TaZEN.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation>&amp;Cifrar</translation>
    </message>
    <message>
        <source>&amp;Decrypt</source>
        <translation>&amp;Descifrar</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>&amp;TaZEN Help</source>
        <translation>Ayuda de &amp;TaZEN</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Acerca de...</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Órdenes</translation>
    </message>
    <message>
        <source>More commands</source>
        <translation>Más órdenes</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>Añad&amp;ir</translation>
    </message>
    <message>
        <source>Lägg till filer för kryptering eller dekryptering</source>
        <translation>Añadir archivos para cifrarlos o descifrarlos</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Quitar</translation>
    </message>
    <message>
        <source>Ta bort markerade filer</source>
        <translation>Quitar los archivos seleccionados</translation>
    </message>
    <message>
        <source>Kryptera valda filer</source>
        <translation>Cifrar los archivos seleccionados</translation>
    </message>
    <message>
        <source>Dekryptera valda filer</source>
        <translation>Descifrar los archivos seleccionados</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Preferencias</translation>
    </message>
    <message>
        <source>Ändra inställningar</source>
        <translation>Cambiar las preferencias</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Archivos</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Encrypt</source>
        <translation>Cifrar</translation>
    </message>
    <message>
        <source>Decrypt</source>
        <translation>Descifrar</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Desconocido</translation>
    </message>
    <message>
        <source>Okänd</source>
        <translation>Desconocido</translation>
    </message>
    <message>
        <source>%1 already choosen.</source>
        <translation>%1 ya está elegido.</translation>
    </message>
    <message>
        <source>One file choosen for encryption</source>
        <translation>Un archivo elegido para cifrar</translation>
    </message>
    <message>
        <source>One file choosen for decryption</source>
        <translation>Un archivo elegido para descifrar</translation>
    </message>
    <message>
        <source>%1 files choosen for encryption</source>
        <translation>%1 archivos elegidos para cifrar</translation>
    </message>
    <message>
        <source>%1 files choosen for decryption</source>
        <translation>%1 archivos elegidos para descifrar</translation>
    </message>
    <message>
        <source>You must first select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu.</source>
        <translation>Primero debe elegir «Cifrar/Descifrar» en el menú «Archivo».</translation>
    </message>
    <message>
        <source>There are no files to remove.</source>
        <translation>No hay archivos que quitar.</translation>
    </message>
    <message>
        <source>Select the files you want to remove.</source>
        <translation>Seleccione los archivos que quiere quitar.</translation>
    </message>
    <message>
        <source>Not listed for encryption:</source>
        <translation>No añadidos a la lista para cifrar:</translation>
    </message>
    <message>
        <source>Not listed for decryption:</source>
        <translation>No añadidos a la lista para descifrar:</translation>
    </message>
    <message>
        <source>
<byte value="xd"/>and %1 more.</source>
        <translation>
<byte value="xd"/>y %1 más.</translation>
    </message>
    <message>
        <source>Could not suggest a passphrase: %1</source>
        <translation>No se pudo sugerir una frase de contraseña: %1</translation>
    </message>
    <message>
        <source>You must first add the files you wish to encypt.</source>
        <translation>Primero debe añadir los archivos que quiere cifrar.</translation>
    </message>
    <message>
        <source>You must first add the files you wish to decrypt.</source>
        <translation>Primero debe añadir los archivos que quiere descifrar.</translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation>Introduzca la contraseña</translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation>Confirme la contraseña</translation>
    </message>
    <message>
        <source>Passwords do not match.</source>
        <translation>Las contraseñas no coinciden.</translation>
    </message>
    <message>
        <source>Select &quot;Encrypt/Decrypt&quot; from the &quot;File&quot; menu or &quot;drag and drop&quot; files directly on the application.</source>
        <translation>Elija «Cifrar/Descifrar» en el menú «Archivo» o «arrastre y suelte» archivos directamente sobre la aplicación.</translation>
    </message>
    <message>
        <source>TaZEN runs alone: a second start cannot hand its files to this window.</source>
        <translation>TaZEN funciona por separado: si se inicia otra vez, no podrá pasar sus archivos a esta ventana.</translation>
    </message>
    <message>
        <source>Operation only allowed on folders.</source>
        <translation>Operación permitida solo en carpetas.</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Abrir...</translation>
    </message>
    <message>
        <source>Open &amp;files</source>
        <translation>Archivos a&amp;biertos</translation>
    </message>
    <message>
        <source>Could not save the last change of %1: %2
<byte value="xd"/>The decrypted copy is kept in %3; TaZEN offers to save it back at its next start.</source>
        <translation>No se pudo guardar el último cambio de %1: %2
<byte value="xd"/>La copia descifrada se conserva en %3; TaZEN ofrecerá guardarla de vuelta en su próximo inicio.</translation>
    </message>
    <message>
        <source>Select an encrypted file in the list to open it.</source>
        <translation>Seleccione un archivo cifrado de la lista para abrirlo.</translation>
    </message>
    <message>
        <source>No encrypted file is open.</source>
        <translation>No hay ningún archivo cifrado abierto.</translation>
    </message>
    <message>
        <source>
<byte value="xd"/>Write the decrypted copy there all the same?</source>
        <translation>
<byte value="xd"/>¿Escribir allí la copia descifrada de todos modos?</translation>
    </message>
    <message>
        <source>No application opened the decrypted copy; open it yourself: %1</source>
        <translation>Ninguna aplicación abrió la copia descifrada; ábrala usted mismo: %1</translation>
    </message>
    <message>
        <source>an unknown encrypted file</source>
        <translation>un archivo cifrado desconocido</translation>
    </message>
    <message>
        <source>A decrypted copy of %1 was left behind when TaZEN last ended:
<byte value="xd"/>%2
<byte value="xd"/>Yes saves it back into the encrypted file, No discards it (overwritten, then removed), Cancel leaves it for the next start.</source>
        <translation>Una copia descifrada de %1 quedó atrás la última vez que TaZEN terminó:
<byte value="xd"/>%2
<byte value="xd"/>Sí la guarda de vuelta en el archivo cifrado, No la descarta (sobrescrita y luego eliminada), Cancelar la deja para el próximo inicio.</translation>
    </message>
    <message>
        <source>Could not remove %1: %2</source>
        <translation>No se pudo eliminar %1: %2</translation>
    </message>
</context>
<context>
    <name>tazen::THelpWindow</name>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Atrás</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>A&amp;delante</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
</context>
<context>
    <name>tazen::TOpenFilesWindow</name>
    <message>
        <source>Open files</source>
        <translation>Archivos abiertos</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation>&amp;Hecho</translation>
    </message>
    <message>
        <source>Saves a last change of the selected file and removes its decrypted copy</source>
        <translation>Guarda un último cambio del archivo seleccionado y elimina su copia descifrada</translation>
    </message>
    <message>
        <source>saving… %1%</source>
        <translation>guardando… %1%</translation>
    </message>
</context>
<context>
    <name>tazen::TPasswordDlg</name>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>Enter password</source>
        <translation>Introduzca la contraseña</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>&amp;Show password</source>
        <translation>&amp;Mostrar contraseña</translation>
    </message>
    <message>
        <source>Su&amp;ggest</source>
        <translation>&amp;Sugerir</translation>
    </message>
    <message>
        <source>Fill in a passphrase of six words drawn at random, shown so that you can write it down</source>
        <translation>Rellena una frase de contraseña de seis palabras elegidas al azar, que se muestra para que pueda anotarla</translation>
    </message>
    <message>
        <source>The two entries match.</source>
        <translation>Las dos entradas coinciden.</translation>
    </message>
    <message>
        <source>The two entries match so far.</source>
        <translation>Las dos entradas coinciden hasta ahora.</translation>
    </message>
    <message>
        <source>The two entries do not match.</source>
        <translation>Las dos entradas no coinciden.</translation>
    </message>
</context>
<context>
    <name>tazen::TProgressDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>%1 %2 files total.</source>
        <translation>%1 %2 archivos en total.</translation>
    </message>
    <message>
        <source>%1 one file total</source>
        <translation>%1 un archivo en total</translation>
    </message>
</context>
<context>
    <name>tazen::TSettingsDialog</name>
    <message>
        <source>Denna version utav TaZEN är begränsad till Blowfish för filkryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation>Esta versión de TaZEN está limitada a Blowfish para el cifrado de archivos.
<byte value="xd"/>La versión definitiva incluirá los algoritmos de la lista.
<byte value="xd"/>¡Esté atento a las actualizaciones!</translation>
    </message>
    <message>
        <source>Denna version utav TaZEN är begränsad till SHA-1 för lösenordskryptering.
<byte value="xd"/>Den färdiga versionen kommer att innehålla de listade algoritmerna.
<byte value="xd"/>Håll utkik efter en uppdatering!</source>
        <translation>Esta versión de TaZEN está limitada a SHA-1 para el cifrado de contraseñas.
<byte value="xd"/>La versión definitiva incluirá los algoritmos de la lista.
<byte value="xd"/>¡Esté atento a las actualizaciones!</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <source>File encryption algorithm:</source>
        <translation>Algoritmo de cifrado de archivos:</translation>
    </message>
    <message>
        <source>Password hash algotihm</source>
        <translation>Algoritmo de hash de contraseñas</translation>
    </message>
    <message>
        <source>Compress files before encryption (version 1.0).</source>
        <translation>Comprimir los archivos antes de cifrarlos (versión 1.0).</translation>
    </message>
    <message>
        <source>Make encrypted files executable.</source>
        <translation>Hacer ejecutables los archivos cifrados.</translation>
    </message>
    <message>
        <source>Recipient&apos;s system:</source>
        <translation>Sistema del destinatario:</translation>
    </message>
    <message>
        <source>Recipient&apos;s system</source>
        <translation>Sistema del destinatario</translation>
    </message>
    <message>
        <source>The system the self-extracting executable is made to run on</source>
        <translation>El sistema en el que se ejecutará el archivo autoextraíble</translation>
    </message>
    <message>
        <source> What to do with source files after encryption </source>
        <translation> Qué hacer con los archivos de origen tras cifrarlos </translation>
    </message>
    <message>
        <source>Leave unchanged.</source>
        <translation>Dejar sin cambios.</translation>
    </message>
    <message>
        <source>Delete.</source>
        <translation>Eliminar.</translation>
    </message>
    <message>
        <source>Shred before delete (Gutman pass-35).</source>
        <translation>Triturar antes de eliminar (Gutmann, 35 pasadas).</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
</context>
<context>
    <name>tazen::TStrengthBar</name>
    <message>
        <source>Password strength</source>
        <translation>Fortaleza de la contraseña</translation>
    </message>
</context>
<context>
    <name>tazen::TscanDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>TaZEN - Adding files for decryption.</source>
        <translation>TaZEN - Añadiendo archivos para descifrar.</translation>
    </message>
    <message>
        <source>TaZEN - Adding files for encryption.</source>
        <translation>TaZEN - Añadiendo archivos para cifrar.</translation>
    </message>
</context>
<context>
    <name>tazen::TshredDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
</context>
</TS>
