<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Ovlet Maker</source>
        <translation>Acerca de Ovlet Maker</translation>
    </message>
    <message>
        <source>Electronic business cards</source>
        <translation>Tarjetas de visita electrónicas</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Free software</source>
        <translation>Software libre</translation>
    </message>
    <message>
        <source>Visit: https://ovlet.app/ for latest updates</source>
        <translation>Novedades en https://ovlet.app/</translation>
    </message>
    <message>
        <source>Ovlet Maker Version 1.0</source>
        <translation>Ovlet Maker versión 1.0</translation>
    </message>
    <message>
        <source>About Ovlet Viewer</source>
        <translation>Acerca de Ovlet Viewer</translation>
    </message>
    <message>
        <source>Ovlet Viewer Version 1.0</source>
        <translation>Ovlet Viewer versión 1.0</translation>
    </message>
    <message>
        <source>Download Ovlet Maker</source>
        <translation>Descargar Ovlet Maker</translation>
    </message>
</context>
<context>
    <name>CCardDialog</name>
    <message>
        <source>Create a new Ovlet</source>
        <translation>Crear un Ovlet nuevo</translation>
    </message>
    <message>
        <source>Open an existing Ovlet</source>
        <translation>Abrir un Ovlet existente</translation>
    </message>
    <message>
        <source>Save current Ovlet</source>
        <translation>Guardar el Ovlet actual</translation>
    </message>
    <message>
        <source>Save current Ovlet with a different name</source>
        <translation>Guardar el Ovlet actual con otro nombre</translation>
    </message>
    <message>
        <source>Import a graphical representation of the Ovlet</source>
        <translation>Importar una imagen para el Ovlet</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>About Ovlet Maker</source>
        <translation>Acerca de Ovlet Maker</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Remove image from current Ovlet</source>
        <translation>Quitar la imagen del Ovlet actual</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/D</translation>
    </message>
    <message>
        <source>E-Mail: </source>
        <translation>Correo: </translation>
    </message>
    <message>
        <source>Fax: </source>
        <translation>Fax: </translation>
    </message>
    <message>
        <source>Card picture, %1 x %2</source>
        <translation>Imagen de la tarjeta, %1 x %2</translation>
    </message>
    <message>
        <source>Export as vCard…</source>
        <translation>Exportar como vCard…</translation>
    </message>
    <message>
        <source>Save card picture…</source>
        <translation>Guardar la imagen de la tarjeta…</translation>
    </message>
    <message>
        <source>vCard (.vcf)</source>
        <translation>vCard (.vcf)</translation>
    </message>
    <message>
        <source>The vCard could not be written to %1: %2</source>
        <translation>No se pudo escribir la vCard en %1: %2</translation>
    </message>
    <message>
        <source>This card has no picture.</source>
        <translation>Esta tarjeta no tiene imagen.</translation>
    </message>
    <message>
        <source>Portable Network Graphics (.png)</source>
        <translation>Imágenes PNG (.png)</translation>
    </message>
    <message>
        <source>JPEG Graphic Files (.jpg)</source>
        <translation>Imágenes JPEG (.jpg)</translation>
    </message>
    <message>
        <source>The picture could not be written to %1: %2</source>
        <translation>No se pudo escribir la imagen en %1: %2</translation>
    </message>
    <message>
        <source>No QR code can hold this card: %1</source>
        <translation>Ningún código QR puede contener esta tarjeta: %1</translation>
    </message>
    <message>
        <source>QR Code</source>
        <translation>Código QR</translation>
    </message>
    <message>
        <source>Scan this code with a phone to add the card to its contacts.</source>
        <translation>Escanee este código con un teléfono para añadir la tarjeta a sus contactos.</translation>
    </message>
    <message>
        <source>Print…</source>
        <translation>Imprimir…</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Tarjeta</translation>
    </message>
    <message>
        <source>A card cannot hold these characters, so the text was not pasted: %1</source>
        <translation>Una tarjeta no puede guardar estos caracteres, así que el texto no se ha pegado: %1</translation>
    </message>
</context>
<context>
    <name>CMakerDialog</name>
    <message>
        <source>Electronic Business Card (.ovt)</source>
        <translation>Tarjeta de visita electrónica (.ovt)</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <source>Unable to save file with this name.  Please try a different name.</source>
        <translation>No se puede guardar el archivo con este nombre.  Pruebe con otro nombre.</translation>
    </message>
    <message>
        <source>Do you wish to save your changes to the current document?</source>
        <translation>¿Desea guardar los cambios del documento actual?</translation>
    </message>
    <message>
        <source>Do you wish to save your changes before you exit?</source>
        <translation>¿Desea guardar los cambios antes de salir?</translation>
    </message>
    <message>
        <source>Failed to launch help.</source>
        <translation>No se pudo abrir la ayuda.</translation>
    </message>
    <message>
        <source>Ovlet Maker will import the selected image.  Please note that the image exceeds the maximum 30KB recomendation. This may cause noticeable download times for internet E-Mail users that receive your Ovlet.  You may want to consider resizing your image or reducing the number of colors used by your image.</source>
        <translation>Ovlet Maker importará la imagen seleccionada.  Tenga en cuenta que la imagen supera el máximo recomendado de 30 KB. Quienes reciban su Ovlet por correo electrónico pueden notar tiempos de descarga largos.  Puede reducir el tamaño de la imagen o el número de colores que usa.</translation>
    </message>
    <message>
        <source>JPEG Graphic Files (.jpg)</source>
        <translation>Imágenes JPEG (.jpg)</translation>
    </message>
    <message>
        <source> Portable Network Graphics (.png)</source>
        <translation> Imágenes PNG (.png)</translation>
    </message>
    <message>
        <source>Error opening graphic file.</source>
        <translation>Error al abrir el archivo de imagen.</translation>
    </message>
    <message>
        <source>The picture cannot be imported.

%1</source>
        <translation>No se puede importar la imagen.

%1</translation>
    </message>
    <message>
        <source>The picture on the clipboard cannot be read, so it cannot be pasted. It may be too large to pass through the clipboard: save it as a file and use Import.</source>
        <translation>La imagen del portapapeles no se puede leer, así que no se puede pegar. Quizá sea demasiado grande para el portapapeles: guárdela como archivo y use Importar.</translation>
    </message>
</context>
<context>
    <name>CPictureStatic</name>
    <message>
        <source>Picture, %1 x %2</source>
        <translation>Imagen, %1 x %2</translation>
    </message>
    <message>
        <source>No Image Data</source>
        <translation>Sin datos de imagen</translation>
    </message>
</context>
<context>
    <name>CViewerDialog</name>
    <message>
        <source>Show QR code</source>
        <translation>Mostrar código QR</translation>
    </message>
</context>
<context>
    <name>CardDialog</name>
    <message>
        <source>Last:</source>
        <translation>Apel.</translation>
    </message>
    <message>
        <source>Job Title:</source>
        <translation>Cargo</translation>
    </message>
    <message>
        <source>E-Mail:</source>
        <translation>Correo</translation>
    </message>
    <message>
        <source>Phone:</source>
        <translation>Tel.</translation>
    </message>
    <message>
        <source>First:</source>
        <translation>Nom.</translation>
    </message>
    <message>
        <source>Middle:</source>
        <translation>2º nom.</translation>
    </message>
    <message>
        <source>Department:</source>
        <translation>Depto.</translation>
    </message>
    <message>
        <source>Desc:</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Phone 1</source>
        <translation>Teléfono 1</translation>
    </message>
    <message>
        <source>Phone 2</source>
        <translation>Teléfono 2</translation>
    </message>
    <message>
        <source>Fax:</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>Empresa</translation>
    </message>
    <message>
        <source>Street Address:</source>
        <translation>Dirección</translation>
    </message>
    <message>
        <source>City:</source>
        <translation>Loc.</translation>
    </message>
    <message>
        <source>State/Province</source>
        <translation>Provincia</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>País</translation>
    </message>
    <message>
        <source>Postal Code</source>
        <translation>Cód. postal</translation>
    </message>
    <message>
        <source>Company Web Site:</source>
        <translation>Sitio web</translation>
    </message>
    <message>
        <source>General Information:</source>
        <translation>Información general</translation>
    </message>
    <message>
        <source>Current File:</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Actual Image Size:</source>
        <translation>Tamaño real</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Empresa</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>Contacto</translation>
    </message>
</context>
<context>
    <name>CardForm</name>
    <message>
        <source>Image</source>
        <translation>Imagen</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Empresa</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>Contacto</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Información</translation>
    </message>
</context>
<context>
    <name>CardMessages</name>
    <message>
        <source>Unable to open file with this name.  Please try a different name.</source>
        <translation>No se puede abrir el archivo con este nombre.  Pruebe con otro nombre.</translation>
    </message>
    <message>
        <source>An attempt was made to access an unnamed file past its end.</source>
        <translation>Se intentó acceder a un archivo sin nombre más allá de su final.</translation>
    </message>
    <message>
        <source>The card file is damaged and cannot be read.</source>
        <translation>El archivo de la tarjeta está dañado y no se puede leer.</translation>
    </message>
    <message>
        <source>Please enter no more than %1 characters.</source>
        <translation>Escriba como máximo %1 caracteres.</translation>
    </message>
    <message>
        <source>The card&apos;s picture cannot be shown.

%1</source>
        <translation>No se puede mostrar la imagen de la tarjeta.

%1</translation>
    </message>
    <message>
        <source>This card has no web site address.</source>
        <translation>Esta tarjeta no tiene dirección de sitio web.</translation>
    </message>
    <message>
        <source>The web site address on this card contains spaces or control characters, so it is not opened.</source>
        <translation>La dirección del sitio web de esta tarjeta contiene espacios o caracteres de control, así que no se abre.</translation>
    </message>
    <message>
        <source>The web site on this card names a local file, not a web address, so it is not opened.</source>
        <translation>El sitio web de esta tarjeta indica un archivo local, no una dirección web, así que no se abre.</translation>
    </message>
    <message>
        <source>The web site on this card is a &quot;%1:&quot; address, not a web address, so it is not opened.</source>
        <translation>El sitio web de esta tarjeta es una dirección «%1:», no una dirección web, así que no se abre.</translation>
    </message>
    <message>
        <source>The web site address on this card has no host name, so it is not opened.</source>
        <translation>La dirección del sitio web de esta tarjeta no tiene nombre de host, así que no se abre.</translation>
    </message>
    <message>
        <source>The e-mail address on this card is not a single address, so it is not opened.</source>
        <translation>La dirección de correo electrónico de esta tarjeta no es una única dirección, así que no se abre.</translation>
    </message>
    <message>
        <source>Disk full while accessing %1.</source>
        <translation>Disco lleno al acceder a %1.</translation>
    </message>
    <message>
        <source>An error occurred while writing %1.</source>
        <translation>Se produjo un error al escribir %1.</translation>
    </message>
    <message>
        <source>The card file is damaged: it ends inside its picture, so only part of the picture can be shown.</source>
        <translation>El archivo de tarjeta está dañado: termina en medio de su imagen, así que solo se puede mostrar una parte.</translation>
    </message>
    <message>
        <source>The file is not a picture of the kind it claims to be.</source>
        <translation>El archivo no es una imagen del tipo que dice ser.</translation>
    </message>
    <message>
        <source>The picture&apos;s data is damaged or of a kind that is not supported.</source>
        <translation>Los datos de la imagen están dañados o son de un tipo no admitido.</translation>
    </message>
    <message>
        <source>The picture file cannot be found.</source>
        <translation>No se encuentra el archivo de imagen.</translation>
    </message>
    <message>
        <source>The picture file cannot be read.</source>
        <translation>No se puede leer el archivo de imagen.</translation>
    </message>
    <message>
        <source>The picture uses a format or feature that is not supported.</source>
        <translation>La imagen usa un formato o una función no admitidos.</translation>
    </message>
    <message>
        <source>Unknown file type.</source>
        <translation>Tipo de archivo desconocido.</translation>
    </message>
    <message>
        <source>There is not enough memory to decode the picture.</source>
        <translation>No hay memoria suficiente para decodificar la imagen.</translation>
    </message>
    <message>
        <source>The picture&apos;s data ends before the picture is complete.</source>
        <translation>Los datos de la imagen terminan antes de que la imagen esté completa.</translation>
    </message>
    <message>
        <source>Decoder error: %1</source>
        <translation>Error del decodificador: %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Sí</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>&amp;About Ovlet Maker</source>
        <translation>&amp;Acerca de Ovlet Maker</translation>
    </message>
</context>
</TS>
