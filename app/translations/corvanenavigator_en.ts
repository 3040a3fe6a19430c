<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>CDialogLatLon</name>
    <message>
        <source>Lat/Lon</source>
        <translation>Lat/Lon</translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>°</source>
        <translation>°</translation>
    </message>
    <message>
        <source>&apos;</source>
        <translation>&apos;</translation>
    </message>
    <message>
        <source>&quot;</source>
        <translation>&quot;</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>E</source>
        <translation>E</translation>
    </message>
    <message>
        <source>W</source>
        <translation>W</translation>
    </message>
</context>
<context>
    <name>CDialogNav</name>
    <message>
        <source>NAVAID</source>
        <translation>NAVAID</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Clé unique</source>
        <translation>Unique key</translation>
    </message>
    <message>
        <source>Identifiant</source>
        <translation>Identifier</translation>
    </message>
    <message>
        <source>Nom</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Fréquence</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Pays</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>VOR</source>
        <translation>VOR</translation>
    </message>
    <message>
        <source>TACAN</source>
        <translation>TACAN</translation>
    </message>
    <message>
        <source>NDB</source>
        <translation>NDB</translation>
    </message>
    <message>
        <source>VOR DME</source>
        <translation>VOR DME</translation>
    </message>
    <message>
        <source>NDB DME</source>
        <translation>NDB DME</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>Usage</translation>
    </message>
    <message>
        <source>High</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Both</translation>
    </message>
    <message>
        <source>Terminal</source>
        <translation>Terminal</translation>
    </message>
    <message>
        <source>RNAV</source>
        <translation>RNAV</translation>
    </message>
    <message>
        <source>Mise à jour DB</source>
        <translation>Update database</translation>
    </message>
    <message>
        <source>Enregistrement CSV</source>
        <translation>Write update file</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Nouveau NAVAID</source>
        <translation>New NAVAID</translation>
    </message>
    <message>
        <source>Le navaid %1 existe déja.
Voulez vous continuer ?</source>
        <translation>The navaid %1 already exists.
Do you want to continue?</translation>
    </message>
    <message>
        <source>Création NDB</source>
        <translation>Creating an NDB</translation>
    </message>
    <message>
        <source>La fréquence doit être comprise entre 180 et 1750 Khz.</source>
        <translation>The frequency must be between 180 and 1750 kHz.</translation>
    </message>
    <message>
        <source>Création VOR</source>
        <translation>Creating a VOR</translation>
    </message>
    <message>
        <source>La fréquence doit être comprise entre 108.000 et 117.95 Mhz.</source>
        <translation>The frequency must be between 108.000 and 117.95 MHz.</translation>
    </message>
    <message>
        <source>La clé unique est vide.
Saisissez l&apos;identifiant du navaid.</source>
        <translation>The unique key is empty.
Enter the identifier of the navaid.</translation>
    </message>
    <message>
        <source>La clé %1 est déjà celle d&apos;un autre navaid.
Changez l&apos;identifiant, le type ou le pays.</source>
        <translation>The key %1 already belongs to another navaid.
Change the identifier, the type or the country.</translation>
    </message>
    <message>
        <source>%1 a été modifié/ajouté à la base GEN.db</source>
        <translation>%1 was changed/added in the GEN.db database</translation>
    </message>
    <message>
        <source>Nouveau NAVAID: mise à jour</source>
        <translation>New NAVAID: update</translation>
    </message>
    <message>
        <source>Une erreur s&apos;est produite pendant la modification/ajout de %1</source>
        <translation>An error occurred while changing/adding %1</translation>
    </message>
    <message>
        <source>Une erreur s&apos;est produite pendant la modification/ajout de %1 dans la base GEN.db :
%2</source>
        <translation>An error occurred while changing/adding %1 in the GEN.db database:
%2</translation>
    </message>
    <message>
        <source>Nouveau NAVAID: export</source>
        <translation>New NAVAID: export</translation>
    </message>
    <message>
        <source>Le fichier d&apos;export pour %1
a été enregistré dans %2</source>
        <translation>The export file for %1
was saved in %2</translation>
    </message>
    <message>
        <source>Le fichier d&apos;export pour %1
n&apos;a pas pu être enregistré dans %2</source>
        <translation>The export file for %1
could not be saved in %2</translation>
    </message>
</context>
<context>
    <name>CDialogWpt</name>
    <message>
        <source>WAYPOINT</source>
        <translation>WAYPOINT</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Clé unique</source>
        <translation>Unique key</translation>
    </message>
    <message>
        <source>Identifiant</source>
        <translation>Identifier</translation>
    </message>
    <message>
        <source>Nom</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Pays</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>Usage</translation>
    </message>
    <message>
        <source>1 HIGH LEVEL</source>
        <translation>1 HIGH LEVEL</translation>
    </message>
    <message>
        <source>2 LOW LEVEL</source>
        <translation>2 LOW LEVEL</translation>
    </message>
    <message>
        <source>3 BOTH</source>
        <translation>3 BOTH</translation>
    </message>
    <message>
        <source>4 RNAV</source>
        <translation>4 RNAV</translation>
    </message>
    <message>
        <source>5 TERMINAL</source>
        <translation>5 TERMINAL</translation>
    </message>
    <message>
        <source>6 VFR</source>
        <translation>6 VFR</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source> 1 UNAMED</source>
        <translation>1 UNNAMED</translation>
    </message>
    <message>
        <source>4 NDB</source>
        <translation>4 NDB</translation>
    </message>
    <message>
        <source>6 NAMED</source>
        <translation>6 NAMED</translation>
    </message>
    <message>
        <source>9 OFF ROUTE</source>
        <translation>9 OFF ROUTE</translation>
    </message>
    <message>
        <source>10 VFR</source>
        <translation>10 VFR</translation>
    </message>
    <message>
        <source>12 RNAV</source>
        <translation>12 RNAV</translation>
    </message>
    <message>
        <source>Mise à jour DB</source>
        <translation>Update database</translation>
    </message>
    <message>
        <source>Enregistrement CSV</source>
        <translation>Write update file</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Nouveau WAYPOINT</source>
        <translation>New WAYPOINT</translation>
    </message>
    <message>
        <source>Le waypoint %1 existe déjà.
Voulez vous le remplacer ?</source>
        <translation>The waypoint %1 already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source>%1 a été modifié/ajouté à la base WPT.db</source>
        <translation>%1 was changed/added in the WPT.db database</translation>
    </message>
    <message>
        <source>Nouveau WAYPOINT: mise à jour</source>
        <translation>New WAYPOINT: update</translation>
    </message>
    <message>
        <source>Une erreur s&apos;est produite
 pendant la modification/ajout de %1</source>
        <translation>An error occurred
while changing/adding %1</translation>
    </message>
    <message>
        <source>Une erreur s&apos;est produite
 pendant la modification/ajout de %1 dans la base WPT.db :
%2</source>
        <translation>An error occurred
while changing/adding %1 in the WPT.db database:
%2</translation>
    </message>
    <message>
        <source>La clé unique est vide.
Saisissez le nom ou la clé du waypoint.</source>
        <translation>The unique key is empty.
Enter the name or the key of the waypoint.</translation>
    </message>
    <message>
        <source>Nouveau WAYPOINT: export</source>
        <translation>New WAYPOINT: export</translation>
    </message>
    <message>
        <source>Le fichier d&apos;export pour %1
a été enregistré dans %2</source>
        <translation>The export file for %1
was saved in %2</translation>
    </message>
    <message>
        <source>Le fichier d&apos;export pour %1
n&apos;a pas pu être enregistré dans %2</source>
        <translation>The export file for %1
could not be saved in %2</translation>
    </message>
</context>
<context>
    <name>CIODataBase</name>
    <message>
        <source>Ouvrir un fichier d&apos;import</source>
        <translation>Open an import file</translation>
    </message>
    <message>
        <source>La base de données %1 est inconnue.</source>
        <translation>The database %1 is unknown.</translation>
    </message>
    <message>
        <source>Erreur SQL</source>
        <translation>SQL error</translation>
    </message>
    <message>
        <source>La table %1 est inconnue dans la base de données %2.</source>
        <translation>The table %1 is unknown in the database %2.</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>L&apos;import a été annulé.</source>
        <translation>The import was cancelled.</translation>
    </message>
    <message>
        <source>Le nom %1 n&apos;est pas celui d&apos;une base de données du dossier OSM.</source>
        <translation>%1 is not the name of a database of the OSM folder.</translation>
    </message>
    <message>
        <source>La base de données %1 est introuvable dans %2.</source>
        <translation>The database %1 cannot be found in %2.</translation>
    </message>
    <message>
        <source>Importation</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Importation terminée
 %1</source>
        <translation>Import finished
 %1</translation>
    </message>
    <message>
        <source>Il y a eu des erreurs à l&apos;importation
%1</source>
        <translation>There were errors during the import
%1</translation>
    </message>
    <message>
        <source>Importation de %1</source>
        <translation>Importing %1</translation>
    </message>
    <message>
        <source>Ligne %1 : la ligne est trop longue ; elle est ignorée.</source>
        <translation>Line %1: the line is too long; it is skipped.</translation>
    </message>
    <message>
        <source>Ligne %1 : %2 valeurs pour la table %3 qui a %4 colonnes ; l&apos;enregistrement n&apos;est pas appliqué.</source>
        <translation>Line %1: %2 values for the table %3, which has %4 columns; the record is not applied.</translation>
    </message>
    <message>
        <source>Ligne %1 : la valeur de la colonne %2 de la table %3 n&apos;est pas un texte hexadécimal ; l&apos;enregistrement n&apos;est pas appliqué.</source>
        <translation>Line %1: the value of column %2 of table %3 is not hexadecimal text; the record is not applied.</translation>
    </message>
    <message>
        <source>Ligne %1 : l&apos;enregistrement de suppression a %2 champs au lieu d&apos;au moins 5 ; il n&apos;est pas appliqué.</source>
        <translation>Line %1: the deletion record has %2 fields instead of at least 5; it is not applied.</translation>
    </message>
    <message>
        <source>Ligne %1 : la colonne %2 est inconnue dans la table %3 ; l&apos;enregistrement n&apos;est pas appliqué.</source>
        <translation>Line %1: the column %2 is unknown in the table %3; the record is not applied.</translation>
    </message>
    <message>
        <source>Attention</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Vous allez effacer la totalité des données de la table %1.
Voulez vous continuer ?</source>
        <translation>You are about to erase all the data of the table %1.
Do you want to continue?</translation>
    </message>
    <message>
        <source>... et %1 autres erreurs (voir le journal)</source>
        <translation>... and %1 more errors (see the log)</translation>
    </message>
    <message>
        <source>exportNAV: Impossible d&apos;ouvrir le fichier %1</source>
        <translation>exportNAV: Cannot open the file %1</translation>
    </message>
    <message>
        <source>%2 NAVAID ont été exportés dans %1</source>
        <translation>%2 NAVAIDs were exported to %1</translation>
    </message>
    <message>
        <source>exportWPT: Impossible d&apos;ouvrir le fichier %1</source>
        <translation>exportWPT: Cannot open the file %1</translation>
    </message>
    <message>
        <source>%2 WAYPOINT ont été exportés dans %1</source>
        <translation>%2 WAYPOINTs were exported to %1</translation>
    </message>
    <message>
        <source>Erreur CSV</source>
        <translation>CSV error</translation>
    </message>
    <message>
        <source>Exportation dans %1</source>
        <translation>Exporting to %1</translation>
    </message>
    <message>
        <source>Exportation</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>L&apos;export a été annulé.</source>
        <translation>The export was cancelled.</translation>
    </message>
    <message>
        <source>Impossible de trouver le projet %1 dans la base de donnée %2</source>
        <translation>Cannot find the project %1 in the database %2</translation>
    </message>
    <message>
        <source>exportOBJ: le nom de projet %1 ne peut pas être écrit dans un fichier d&apos;export (il contient « ; », un saut de ligne ou un caractère hors Latin-1).</source>
        <translation>exportOBJ: the project name %1 cannot be written to an export file (it contains “;”, a line break or a character outside Latin-1).</translation>
    </message>
    <message>
        <source>Suppression des données</source>
        <translation>Deleting data</translation>
    </message>
    <message>
        <source>Voulez vous supprimer toutes les données existantes (conseillé) ?
</source>
        <translation>Do you want to delete all the existing data (recommended)?
</translation>
    </message>
    <message>
        <source>Le projet 3D %1 a été enregistré dans %2</source>
        <translation>The 3D project %1 was saved to %2</translation>
    </message>
    <message>
        <source>Impossible de trouver l&apos;objet %1 dans la base de donnée %2</source>
        <translation>Cannot find the object %1 in the database %2</translation>
    </message>
    <message>
        <source>L&apos;objet 3D %1 a été enregistré dans %2</source>
        <translation>The 3D object %1 was saved to %2</translation>
    </message>
    <message>
        <source>Le fichier %1 existe déja.
Voulez vous l&apos;écraser ?</source>
        <translation>The file %1 already exists.
Do you want to overwrite it?</translation>
    </message>
    <message>
        <source>%1: Impossible d&apos;ouvrir le fichier %2</source>
        <translation>%1: Cannot open the file %2</translation>
    </message>
    <message>
        <source>%1: Impossible d&apos;écrire le fichier %2
%3</source>
        <translation>%1: Cannot write the file %2
%3</translation>
    </message>
    <message>
        <source>
%1 ligne(s) non exportée(s) : une valeur contient « ; », un saut de ligne ou un caractère hors Latin-1 (%2).</source>
        <translation>
%1 line(s) not exported: a value contains “;”, a line break or a character outside Latin-1 (%2).</translation>
    </message>
    <message>
        <source>exportOBJ: le nom de projet %1 ne peut pas servir de nom de dossier : il ne doit contenir ni séparateur de chemin (« / », « \ ») ni caractère interdit dans un nom de fichier (: * ? &quot; &lt; &gt; |), et ne peut pas être « . » ou « .. ».</source>
        <translation>exportOBJ: the project name %1 cannot be used as a folder name: it must contain no path separator (“/”, “\”) and no character that file names refuse (: * ? &quot; &lt; &gt; |), and cannot be “.” or “..”.</translation>
    </message>
</context>
<context>
    <name>CRestoreDialog</name>
    <message>
        <source>Copie %1</source>
        <translation>Copy %1</translation>
    </message>
    <message>
        <source>Avant la dernière restauration</source>
        <translation>Before the last restore</translation>
    </message>
    <message>
        <source>Comparaison impossible : %1</source>
        <translation>Cannot compare: %1</translation>
    </message>
    <message>
        <source>Identique au fichier actuel</source>
        <translation>Same as the current file</translation>
    </message>
    <message>
        <source>Lignes différentes : %1</source>
        <translation>Lines that differ: %1</translation>
    </message>
    <message>
        <source>Restaurer les données du simulateur</source>
        <translation>Restore the simulator&apos;s data</translation>
    </message>
    <message>
        <source>Copies des fichiers du simulateur que le programme a modifiés. La copie choisie remplace le fichier ; le fichier tel qu&apos;il est reste gardé, et le restaurer ensuite revient en arrière.</source>
        <translation>Copies of the simulator&apos;s files that the program changed. The chosen copy replaces the file; the file as it is now is kept, and restoring it afterwards goes back.</translation>
    </message>
    <message>
        <source>Fichier, copie, table</source>
        <translation>File, copy, table</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Différences avec le fichier actuel</source>
        <translation>Differences from the current file</translation>
    </message>
    <message>
        <source>%1 (%2 dans la copie seulement, %3 dans le fichier actuel seulement)</source>
        <translation>%1 (%2 in the copy only, %3 in the current file only)</translation>
    </message>
    <message>
        <source>Dans la copie seulement</source>
        <translation>In the copy only</translation>
    </message>
    <message>
        <source>Dans le fichier actuel seulement</source>
        <translation>In the current file only</translation>
    </message>
    <message>
        <source>Restaurer</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Corvane Navigator</source>
        <translation>Corvane Navigator</translation>
    </message>
    <message>
        <source>Plan de vol</source>
        <translation>Flight plan</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>A propos</source>
        <translation>About</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Recherche</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Exact</source>
        <translation>Exact</translation>
    </message>
    <message>
        <source>Approx.</source>
        <translation>Near</translation>
    </message>
    <message>
        <source>Nouveau</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Charger</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Départ</source>
        <translation>Departure</translation>
    </message>
    <message>
        <source>°</source>
        <translation>°</translation>
    </message>
    <message>
        <source>SID</source>
        <translation>SID</translation>
    </message>
    <message>
        <source>STAR</source>
        <translation>STAR</translation>
    </message>
    <message>
        <source>POD</source>
        <translation>POD</translation>
    </message>
    <message>
        <source>Trace</source>
        <translation>Trace</translation>
    </message>
    <message>
        <source>Centre avion</source>
        <translation>Centre on aircraft</translation>
    </message>
    <message>
        <source>Point de report</source>
        <translation>Waypoint</translation>
    </message>
    <message>
        <source>Ajouter au plan de vol</source>
        <translation>Add to flight plan</translation>
    </message>
    <message>
        <source>Supprimer</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Avion</source>
        <translation>Aircraft</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Vitesse de croisère maxi(kts)</source>
        <translation>Maximum cruise speed (kts)</translation>
    </message>
    <message>
        <source>Vitesse de croisière (kts)</source>
        <translation>Cruise speed (kts)</translation>
    </message>
    <message>
        <source>Vitesse en approche (kts)</source>
        <translation>Approach speed (kts)</translation>
    </message>
    <message>
        <source>Vitesse acensionnelle (ft/mn)</source>
        <translation>Rate of climb (ft/min)</translation>
    </message>
    <message>
        <source>Plafond (ft)</source>
        <translation>Ceiling (ft)</translation>
    </message>
    <message>
        <source>Altitude maxi de croisière (ft)</source>
        <translation>Maximum cruise altitude (ft)</translation>
    </message>
    <message>
        <source>Immatriculation</source>
        <translation>Registration</translation>
    </message>
    <message>
        <source>Debug info</source>
        <translation>Debug info</translation>
    </message>
    <message>
        <source>&lt;span style=&quot;color:#0000ff;&quot;&gt;Chargement en cours..&lt;/span&gt;</source>
        <translation>&lt;span style=&quot;color:#0000ff;&quot;&gt;Loading..&lt;/span&gt;</translation>
    </message>
    <message>
        <source>Nouveau plan de vol</source>
        <translation>New flight plan</translation>
    </message>
    <message>
        <source>Enregistrer le plan de vol</source>
        <translation>Save the flight plan</translation>
    </message>
    <message>
        <source>Charger un plan de vol</source>
        <translation>Load a flight plan</translation>
    </message>
    <message>
        <source>Quitter</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Importer mise à jour</source>
        <translation>Import update</translation>
    </message>
    <message>
        <source>A propos de Qt</source>
        <translation>About Qt</translation>
    </message>
    <message>
        <source>Sélectionner le répertoire de Corvane</source>
        <translation>Select the Corvane folder</translation>
    </message>
    <message>
        <source>Sélectionner le répertoire de travail</source>
        <translation>Select the work folder</translation>
    </message>
    <message>
        <source>Corvane Navigator - Version %1</source>
        <translation>Corvane Navigator - Version %1</translation>
    </message>
    <message>
        <source>OACI</source>
        <translation>ICAO</translation>
    </message>
    <message>
        <source>Pays</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>Nom</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Clé unique</source>
        <translation>Unique key</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Fréq.</source>
        <translation>Freq.</translation>
    </message>
    <message>
        <source>Vitesse</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Route</source>
        <translation>Course</translation>
    </message>
    <message>
        <source>Dist</source>
        <translation>Dist</translation>
    </message>
    <message>
        <source>Durée</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>Temps</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source>Lat.</source>
        <translation>Lat.</translation>
    </message>
    <message>
        <source>Long.</source>
        <translation>Long.</translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>Aéroport</source>
        <translation>Airport</translation>
    </message>
    <message>
        <source>Affiche les aéroports</source>
        <translation>Shows the airports</translation>
    </message>
    <message>
        <source>VOR</source>
        <translation>VOR</translation>
    </message>
    <message>
        <source>Affiche les VOR</source>
        <translation>Shows the VORs</translation>
    </message>
    <message>
        <source>NDB Rte</source>
        <translation>En-route NDB</translation>
    </message>
    <message>
        <source>Affiche les NDB en route</source>
        <translation>Shows the en-route NDBs</translation>
    </message>
    <message>
        <source>NDB Ter</source>
        <translation>Terminal NDB</translation>
    </message>
    <message>
        <source>Affiche les NDB terminaux</source>
        <translation>Shows the terminal NDBs</translation>
    </message>
    <message>
        <source>Waypoint en route</source>
        <translation>En-route waypoint</translation>
    </message>
    <message>
        <source>Affiche les points de report en route</source>
        <translation>Shows the en-route waypoints</translation>
    </message>
    <message>
        <source>Waypoint terminaux</source>
        <translation>Terminal waypoints</translation>
    </message>
    <message>
        <source>Affiche les points de report terminaux</source>
        <translation>Shows the terminal waypoints</translation>
    </message>
    <message>
        <source>Waypoint VFR</source>
        <translation>VFR waypoint</translation>
    </message>
    <message>
        <source>Affiche les points de report VFR</source>
        <translation>Shows the VFR reporting points</translation>
    </message>
    <message>
        <source>ATS Low</source>
        <translation>ATS Low</translation>
    </message>
    <message>
        <source>Affiche les routes basse altitude</source>
        <translation>Shows the low-altitude airways</translation>
    </message>
    <message>
        <source>ATS High</source>
        <translation>ATS High</translation>
    </message>
    <message>
        <source>Affiche les routes haute altitude</source>
        <translation>Shows the high-altitude airways</translation>
    </message>
    <message>
        <source>ATS High/Low</source>
        <translation>ATS High/Low</translation>
    </message>
    <message>
        <source>Affiche les routes mixtes</source>
        <translation>Shows the high and low airways</translation>
    </message>
    <message>
        <source>Zone de contôle</source>
        <translation>Control zone</translation>
    </message>
    <message>
        <source>Affiche les zones de contrôle</source>
        <translation>Shows the control zones</translation>
    </message>
    <message>
        <source>Plein écran</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>Mode plein écran</source>
        <translation>Full screen mode</translation>
    </message>
    <message>
        <source>Centrer sur ce point</source>
        <translation>Centre on this point</translation>
    </message>
    <message>
        <source>Supprimer la ligne</source>
        <translation>Delete the line</translation>
    </message>
    <message>
        <source>Monter la ligne</source>
        <translation>Move the line up</translation>
    </message>
    <message>
        <source>Descendre la ligne</source>
        <translation>Move the line down</translation>
    </message>
    <message>
        <source>A propos de Corvane Navigator</source>
        <translation>About Corvane Navigator</translation>
    </message>
    <message>
        <source>Corvane Navigator
version %1</source>
        <translation>Corvane Navigator
version %1</translation>
    </message>
    <message>
        <source>Chargement des aéroports...</source>
        <translation>Loading the airports...</translation>
    </message>
    <message>
        <source>Airport: %1 éléments chargés</source>
        <translation>Airport: %1 items loaded</translation>
    </message>
    <message>
        <source>Chargement des balises...</source>
        <translation>Loading the navaids...</translation>
    </message>
    <message>
        <source>Navaid: %1 éléments chargés</source>
        <translation>Navaid: %1 items loaded</translation>
    </message>
    <message>
        <source>Chargement des points de report...</source>
        <translation>Loading the waypoints...</translation>
    </message>
    <message>
        <source>Waypoint: %1 élément chargés</source>
        <translation>Waypoint: %1 items loaded</translation>
    </message>
    <message>
        <source>Chargement des routes ATS...</source>
        <translation>Loading the ATS routes...</translation>
    </message>
    <message>
        <source>ATS: %1 élément chargés</source>
        <translation>ATS: %1 items loaded</translation>
    </message>
    <message>
        <source>Chargement terminé</source>
        <translation>Loading finished</translation>
    </message>
    <message>
        <source>Ouvrir un POD</source>
        <translation>Open a POD</translation>
    </message>
    <message>
        <source>Fichier POD (*pod)</source>
        <translation>POD file (*pod)</translation>
    </message>
    <message>
        <source>Voulez vous effacer le plan de vol en cours ?</source>
        <translation>Do you want to clear the current flight plan?</translation>
    </message>
    <message>
        <source>Le plan de vol en cours n&apos;est pas enregistré. Voulez vous quitter quand même ?</source>
        <translation>The current flight plan is not saved. Do you want to quit anyway?</translation>
    </message>
    <message>
        <source>SID : </source>
        <translation>SID: </translation>
    </message>
    <message>
        <source>STAR : </source>
        <translation>STAR: </translation>
    </message>
    <message>
        <source>Enregistrement plan de vol</source>
        <translation>Saving the flight plan</translation>
    </message>
    <message>
        <source>Un plan de vol doit comporté au moins deux points</source>
        <translation>A flight plan must have at least two points</translation>
    </message>
    <message>
        <source>Le plan de vol %1 a été enregistré</source>
        <translation>The flight plan %1 was saved</translation>
    </message>
    <message>
        <source>Le plan de vol %1 n&apos;a pas pu être enregistré :
%2</source>
        <translation>The flight plan %1 could not be saved:
%2</translation>
    </message>
    <message>
        <source>Enregistrement point de départ</source>
        <translation>Saving the start position</translation>
    </message>
    <message>
        <source>Vous devez choisir un aéroport en première ligne.</source>
        <translation>You must choose an airport on the first line.</translation>
    </message>
    <message>
        <source>Le fichier de situation %1 n&apos;a pas pu être enregistré :
%2</source>
        <translation>The situation file %1 could not be saved:
%2</translation>
    </message>
    <message>
        <source>Voulez vous définir %1 comme départ dans Corvane ?</source>
        <translation>Do you want to make %1 the start position in Corvane?</translation>
    </message>
    <message>
        <source>Le fichier %1 n&apos;a pas pu être modifié :
%2</source>
        <translation>The file %1 could not be changed:
%2</translation>
    </message>
    <message>
        <source>Trajectoire avion</source>
        <translation>Aircraft trace</translation>
    </message>
    <message>
        <source>Impossible de se connecter à Corvane.
Assurez vous de l&apos;avoir démarré.</source>
        <translation>Cannot connect to Corvane.
Make sure it is running.</translation>
    </message>
    <message>
        <source>SID : %1</source>
        <translation>SID: %1</translation>
    </message>
    <message>
        <source>STAR : %1</source>
        <translation>STAR: %1</translation>
    </message>
    <message>
        <source>Création d&apos;un STAR</source>
        <translation>Creating a STAR</translation>
    </message>
    <message>
        <source>Création d&apos;un SID</source>
        <translation>Creating a SID</translation>
    </message>
    <message>
        <source>Le nouveau STAR doit finir par un aéroport</source>
        <translation>The new STAR must end at an airport</translation>
    </message>
    <message>
        <source>Le nouveau SID doit commencé par un aéroport</source>
        <translation>The new SID must start at an airport</translation>
    </message>
    <message>
        <source>Nouveau STAR</source>
        <translation>New STAR</translation>
    </message>
    <message>
        <source>Nouveau SID</source>
        <translation>New SID</translation>
    </message>
    <message>
        <source>Nom du STAR</source>
        <translation>STAR name</translation>
    </message>
    <message>
        <source>Nom du SID</source>
        <translation>SID name</translation>
    </message>
    <message>
        <source>Le STAR %1 n&apos;a pas pu être enregistré :
%2</source>
        <translation>The STAR %1 could not be saved:
%2</translation>
    </message>
    <message>
        <source>Le SID %1 n&apos;a pas pu être enregistré :
%2</source>
        <translation>The SID %1 could not be saved:
%2</translation>
    </message>
    <message>
        <source>Le STAR %1 n&apos;a pas été enregistré : sa clé %2 est déjà celle d&apos;un point de la procédure %3 de %4.
Choisissez un autre nom.</source>
        <translation>The STAR %1 was not saved: its key %2 already belongs to a point of the procedure %3 at %4.
Choose another name.</translation>
    </message>
    <message>
        <source>Le SID %1 n&apos;a pas été enregistré : sa clé %2 est déjà celle d&apos;un point de la procédure %3 de %4.
Choisissez un autre nom.</source>
        <translation>The SID %1 was not saved: its key %2 already belongs to a point of the procedure %3 at %4.
Choose another name.</translation>
    </message>
    <message>
        <source>Enregistrement STAR</source>
        <translation>Saving the STAR</translation>
    </message>
    <message>
        <source>Le STAR %1 a été enregistré</source>
        <translation>The STAR %1 was saved</translation>
    </message>
    <message>
        <source>Enregistrement SID</source>
        <translation>Saving the SID</translation>
    </message>
    <message>
        <source>Le SID %1 a été enregistré</source>
        <translation>The SID %1 was saved</translation>
    </message>
    <message>
        <source>Effacer une STAR</source>
        <translation>Delete a STAR</translation>
    </message>
    <message>
        <source>Effacer un SID</source>
        <translation>Delete a SID</translation>
    </message>
    <message>
        <source>Voulez vous effacer la STAR %1 ?</source>
        <translation>Do you want to delete the STAR %1?</translation>
    </message>
    <message>
        <source>Voulez vous effacer le SID %1 ?</source>
        <translation>Do you want to delete the SID %1?</translation>
    </message>
    <message>
        <source>Effacement STAR</source>
        <translation>Deleting the STAR</translation>
    </message>
    <message>
        <source>Effacement SID</source>
        <translation>Deleting the SID</translation>
    </message>
    <message>
        <source>La STAR %1 n&apos;a pas pu être effacée :
%2</source>
        <translation>The STAR %1 could not be deleted:
%2</translation>
    </message>
    <message>
        <source>Le SID %1 n&apos;a pas pu être effacé :
%2</source>
        <translation>The SID %1 could not be deleted:
%2</translation>
    </message>
    <message>
        <source>La STAR %1 a été effacé</source>
        <translation>The STAR %1 was deleted</translation>
    </message>
    <message>
        <source>Le SID %1 a été effacé</source>
        <translation>The SID %1 was deleted</translation>
    </message>
    <message>
        <source>Suppression d&apos;un navaid</source>
        <translation>Deleting a navaid</translation>
    </message>
    <message>
        <source>Suppression/export d&apos;un navaid</source>
        <translation>Deleting/exporting a navaid</translation>
    </message>
    <message>
        <source>Le point sélectionné n&apos;existe pas dans la base</source>
        <translation>The selected point does not exist in the database</translation>
    </message>
    <message>
        <source>Le navaid %1 a été effacé</source>
        <translation>The navaid %1 was deleted</translation>
    </message>
    <message>
        <source>Le navaid %1 n&apos;a pas pu être effacé de la base.</source>
        <translation>The navaid %1 could not be deleted from the database.</translation>
    </message>
    <message>
        <source>Le navaid %1 a été effacé et enregistrer pour export 
dans %2</source>
        <translation>The navaid %1 was deleted and recorded for export
in %2</translation>
    </message>
    <message>
        <source>Le navaid %1 a été effacé mais l&apos;export à échoué</source>
        <translation>The navaid %1 was deleted but the export failed</translation>
    </message>
    <message>
        <source>Suppression d&apos;un waypoint</source>
        <translation>Deleting a waypoint</translation>
    </message>
    <message>
        <source>Suppression/export d&apos;un waypoint</source>
        <translation>Deleting/exporting a waypoint</translation>
    </message>
    <message>
        <source>Le waypoint sélectionné n&apos;existe pas dans la base</source>
        <translation>The selected waypoint does not exist in the database</translation>
    </message>
    <message>
        <source>Le waypoint %1 a été effacé</source>
        <translation>The waypoint %1 was deleted</translation>
    </message>
    <message>
        <source>Le waypoint %1 n&apos;a pas pu être effacé de la base.</source>
        <translation>The waypoint %1 could not be deleted from the database.</translation>
    </message>
    <message>
        <source>Le waypoint %1 a été effacé et enregistrer pour export 
dans %2</source>
        <translation>The waypoint %1 was deleted and recorded for export
in %2</translation>
    </message>
    <message>
        <source>Le waypoint %1 a été effacé mais l&apos;export à échoué</source>
        <translation>The waypoint %1 was deleted but the export failed</translation>
    </message>
    <message>
        <source>Effacer</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Effacer
&amp; Exporter</source>
        <translation>Delete
&amp; Export</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Voulez vous effacer définitivement %1 ?</source>
        <translation>Do you want to delete %1 permanently?</translation>
    </message>
    <message>
        <source>Modification d&apos;un waypoint</source>
        <translation>Editing a waypoint</translation>
    </message>
    <message>
        <source>Le waypoint %1 n&apos;existe pas dans la base</source>
        <translation>The waypoint %1 does not exist in the database</translation>
    </message>
    <message>
        <source>Modification d&apos;un navaid</source>
        <translation>Editing a navaid</translation>
    </message>
    <message>
        <source>Le navaid %1 n&apos;existe pas dans la base</source>
        <translation>The navaid %1 does not exist in the database</translation>
    </message>
    <message>
        <source>Annuler</source>
        <comment>undo a change of the flight plan</comment>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Rétablir</source>
        <comment>redo a change of the flight plan</comment>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Annuler %1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>Rétablir %1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>Restaurer les données du simulateur…</source>
        <translation>Restore the simulator&apos;s data…</translation>
    </message>
    <message>
        <source>Le programme n&apos;a modifié aucun fichier du simulateur : il n&apos;en garde aucune copie.</source>
        <translation>The program has changed no file of the simulator: it holds no copy of any.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>GEN : La version attendue est %1.
La version trouvée est %2.
Le programme va s&apos;arréter.</source>
        <translation>GEN: The expected version is %1.
The version found is %2.
The program will stop.</translation>
    </message>
    <message>
        <source>M3D : La version attendue est %1.
La version trouvée est %2.
Le programme va s&apos;arréter.</source>
        <translation>M3D: The expected version is %1.
The version found is %2.
The program will stop.</translation>
    </message>
    <message>
        <source>OBJ : La version attendue est %1.
La version trouvée est %2.
Le programme va s&apos;arréter.</source>
        <translation>OBJ: The expected version is %1.
The version found is %2.
The program will stop.</translation>
    </message>
    <message>
        <source>TXY : La version attendue est %1.
La version trouvée est %2.
Le programme va s&apos;arréter.</source>
        <translation>TXY: The expected version is %1.
The version found is %2.
The program will stop.</translation>
    </message>
    <message>
        <source>WPT : La version attendue est %1.
La version trouvée est %2.
Le programme va s&apos;arréter.</source>
        <translation>WPT: The expected version is %1.
The version found is %2.
The program will stop.</translation>
    </message>
    <message>
        <source>Erreur de version de base de données</source>
        <translation>Database version error</translation>
    </message>
    <message>
        <source>Ouverture de la base de données impossible.</source>
        <translation>The database cannot be opened.</translation>
    </message>
    <message>
        <source>Impossible d&quot;établir la connexion avec %1.</source>
        <translation>Cannot connect to %1.</translation>
    </message>
    <message>
        <source>Ouvrir un plan de vol existant</source>
        <translation>Open an existing flight plan</translation>
    </message>
    <message>
        <source>Fichier plan de vol (*.fpl)</source>
        <translation>Flight plan file (*.fpl)</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Exporter tous les navaids</source>
        <translation>Export all navaids</translation>
    </message>
    <message>
        <source>Exporter tous les waypoints</source>
        <translation>Export all waypoints</translation>
    </message>
    <message>
        <source>Exporter un projet de scène</source>
        <translation>Export a scenery project</translation>
    </message>
    <message>
        <source>Exporter un objet 3D</source>
        <translation>Export a 3D object</translation>
    </message>
    <message>
        <source>Nom du projet :</source>
        <translation>Project name:</translation>
    </message>
    <message>
        <source>Dossier du projet</source>
        <translation>Project folder</translation>
    </message>
    <message>
        <source>Nom de l&apos;objet 3D :</source>
        <translation>3D object name:</translation>
    </message>
    <message>
        <source>Les modifications de la base %1 n&apos;ont pas pu être validées : %2</source>
        <translation>The changes to the database %1 could not be committed: %2</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Corvane Navigator</source>
        <translation>Corvane Navigator</translation>
    </message>
    <message>
        <source>Airport</source>
        <translation>Airport</translation>
    </message>
    <message>
        <source>Navaid</source>
        <translation>Navaid</translation>
    </message>
    <message>
        <source>Waypoint</source>
        <translation>Waypoint</translation>
    </message>
    <message>
        <source>erreur inconnue</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <source>la clé %1 est celle d&apos;un point de la procédure %2 de %3</source>
        <translation>the key %1 belongs to a point of the procedure %2 at %3</translation>
    </message>
    <message>
        <source>la base de données des routes n&apos;est pas ouverte</source>
        <translation>the route database is not open</translation>
    </message>
    <message>
        <source>la base de données ne peut pas être lue : %1</source>
        <translation>the database cannot be read: %1</translation>
    </message>
    <message>
        <source>la copie de la base de données a échoué : %1</source>
        <translation>copying the database failed: %1</translation>
    </message>
    <message>
        <source>la copie du fichier a échoué : %1</source>
        <translation>copying the file failed: %1</translation>
    </message>
    <message>
        <source>l&apos;ancienne copie %1 ne peut pas être supprimée</source>
        <translation>the old copy %1 cannot be deleted</translation>
    </message>
    <message>
        <source>la copie %1 ne peut pas être renommée en %2</source>
        <translation>the copy %1 cannot be renamed to %2</translation>
    </message>
    <message>
        <source>le fichier temporaire %1 ne peut pas être supprimé</source>
        <translation>the temporary file %1 cannot be deleted</translation>
    </message>
    <message>
        <source>%1 n&apos;est pas un fichier</source>
        <translation>%1 is not a file</translation>
    </message>
    <message>
        <source>Sauvegarde</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>Impossible de sauvegarder %1 avant sa modification :
%2
La modification est annulée.</source>
        <translation>Cannot back up %1 before changing it:
%2
The change is cancelled.</translation>
    </message>
    <message>
        <source>l&apos;ajout de %1</source>
        <translation>adding %1</translation>
    </message>
    <message>
        <source>l&apos;ajout de la procédure %1</source>
        <translation>adding the procedure %1</translation>
    </message>
    <message>
        <source>la suppression de %1</source>
        <translation>deleting %1</translation>
    </message>
    <message>
        <source>la montée de %1</source>
        <translation>moving %1 up</translation>
    </message>
    <message>
        <source>la descente de %1</source>
        <translation>moving %1 down</translation>
    </message>
    <message>
        <source>la modification de l&apos;altitude à %1</source>
        <translation>changing the altitude at %1</translation>
    </message>
    <message>
        <source>l&apos;effacement du plan de vol</source>
        <translation>clearing the flight plan</translation>
    </message>
    <message>
        <source>le chargement d&apos;un plan de vol</source>
        <translation>loading a flight plan</translation>
    </message>
    <message>
        <source>le chargement de %1</source>
        <translation>loading %1</translation>
    </message>
    <message>
        <source>la connexion %1 n&apos;existe plus</source>
        <translation>the connection %1 no longer exists</translation>
    </message>
    <message>
        <source>%1 ne s&apos;ouvre pas : %2</source>
        <translation>%1 does not open: %2</translation>
    </message>
    <message>
        <source>la connexion %1 n&apos;est pas ouverte</source>
        <translation>the connection %1 is not open</translation>
    </message>
    <message>
        <source>%1 est endommagée : %2</source>
        <translation>%1 is damaged: %2</translation>
    </message>
    <message>
        <source>%1 : la version attendue est %2, la version trouvée est %3</source>
        <translation>%1: the expected version is %2, the version found is %3</translation>
    </message>
    <message>
        <source>%1 ne peut pas être lu : %2</source>
        <translation>%1 cannot be read: %2</translation>
    </message>
    <message>
        <source>%1 ne contient pas ce qui a été écrit</source>
        <translation>%1 does not hold what was written</translation>
    </message>
    <message>
        <source>lecture de la copie</source>
        <translation>reading the copy</translation>
    </message>
    <message>
        <source>accès exclusif à la base de données</source>
        <translation>exclusive access to the database</translation>
    </message>
    <message>
        <source>copie du fichier actuel</source>
        <translation>copying the current file</translation>
    </message>
    <message>
        <source>remplacement du fichier</source>
        <translation>replacing the file</translation>
    </message>
    <message>
        <source>réouverture de la base de données</source>
        <translation>reopening the database</translation>
    </message>
    <message>
        <source>vérification</source>
        <translation>check</translation>
    </message>
    <message>
        <source>Restauration</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>%1 a été restauré depuis %2.
Le fichier tel qu&apos;il était avant est gardé dans %3 : restaurez-le pour revenir en arrière.</source>
        <translation>%1 was restored from %2.
The file as it was before is kept in %3: restore it to go back.</translation>
    </message>
    <message>
        <source>Le simulateur utilise %1 : la base de données est verrouillée.
Rien n&apos;a été changé. Fermez le simulateur puis recommencez.</source>
        <translation>The simulator is using %1: the database is locked.
Nothing was changed. Close the simulator and try again.</translation>
    </message>
    <message>
        <source>La restauration de %1 a échoué à l&apos;étape « %2 » :
%3
Le fichier est resté tel qu&apos;il était.</source>
        <translation>Restoring %1 failed at the step “%2”:
%3
The file was left as it was.</translation>
    </message>
    <message>
        <source>La restauration de %1 a échoué à l&apos;étape « %2 » :
%3
Le fichier n&apos;a pas pu être remis tel qu&apos;il était ; il est gardé dans %4.</source>
        <translation>Restoring %1 failed at the step “%2”:
%3
The file could not be put back as it was; it is kept in %4.</translation>
    </message>
</context>
</TS>
