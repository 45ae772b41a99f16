#!/usr/bin/env python3
"""Writes the French and Italian resource scripts from Quorbel.rc.

The language libraries carry the executable's dialogs, menu and strings
under the same identifiers with translated texts, and the pictures the
dialogs show; icons, the splash picture, version and manifest stay in the
executable (the program looks there for whatever a library leaves out).
Run it after changing Quorbel.rc; it rewrites QuorbelFr.rc and
QuorbelIT.rc (Windows-1252).  The build runs it with --check, so a
string-table text without a translation fails the build.
"""
import os
import re
import sys

# English: (French, Italian).  Every text of the string table has its row.
TRANSLATIONS = {
    "Quorbel setup":
        ("Configuration de Quorbel", "Configurazione di Quorbel"),
    "[ Option ]":
        ("[ Options ]", "[ Opzioni ]"),
    "Language":
        ("Langue", "Lingua"),
    "Hide at start":
        ("Masquer au d\u00e9marrage", "Nascondi all'avvio"),
    "Deactivate Hide button":
        ("D\u00e9sactiver le bouton Masquer", "Disattiva il pulsante Nascondi"),
    "[ Input option ]":
        ("[ Entr\u00e9e ]", "[ Ingresso ]"),
    "Input port":
        ("Port d'entr\u00e9e", "Porta ingresso"),
    "Input separator":
        ("S\u00e9parateur", "Separatore"),
    "Serial Com Port":
        ("Port s\u00e9rie", "Porta seriale"),
    "RS232 setup":
        ("R\u00e9glages RS232", "Impostazioni RS232"),
    "Server Port:":
        ("Port serveur :", "Porta server:"),
    "Server IP Address:":
        ("Adresse IP :", "Indirizzo IP:"),
    "[ Print ]":
        ("[ Impression ]", "[ Stampa ]"),
    "Reconnect automatically":
        ("Reconnexion automatique", "Riconnessione automatica"),
    "Print result":
        ("Imprimer", "Stampa"),
    "Print setup":
        ("R\u00e9glages impression", "Impostazioni stampa"),
    "[ Store type ]":
        ("[ Enregistrement ]", "[ Salvataggio ]"),
    "Original frame":
        ("Trame d'origine", "Trama originale"),
    "Original frame + date":
        ("Trame d'origine + date", "Trama originale + data"),
    "Selected fields":
        ("Champs choisis", "Campi scelti"),
    "Selected fields + date":
        ("Champs choisis + date", "Campi scelti + data"),
    "Output field separator":
        ("S\u00e9parateur sortie", "Separatore uscita"),
    "[ Store to directory ]":
        ("[ R\u00e9pertoire ]", "[ Cartella ]"),
    "File extension ":
        ("Extension ", "Estensione "),
    "[ Selected fields ]":
        ("[ Champs choisis ]", "[ Campi scelti ]"),
    "Cancel":
        ("Annuler", "Annulla"),
    "Get field name":
        ("Nom du champ", "Nome del campo"),
    "Fiield name":
        ("Nom du champ", "Nome campo"),
    "Serial port setup":
        ("R\u00e9glages du port s\u00e9rie", "Impostazioni porta seriale"),
    "[ Parameters ]":
        ("[ Param\u00e8tres ]", "[ Parametri ]"),
    "Com Port":
        ("Port", "Porta"),
    "Baud rate":
        ("Vitesse", "Velocit\u00e0"),
    "Bits #":
        ("Bits", "Bit"),
    "Stop Bits":
        ("Bits d'arr\u00eat", "Bit di stop"),
    "Parity":
        ("Parit\u00e9", "Parit\u00e0"),
    "Handshake":
        ("Contr\u00f4le de flux", "Controllo di flusso"),
    "Printing setup":
        ("R\u00e9glages d'impression", "Impostazioni di stampa"),
    "Printing ":
        ("Impression ", "Stampa "),
    "[ Print type ]":
        ("[ Type d'impression ]", "[ Tipo di stampa ]"),
    "Type of printing":
        ("Type d'impression", "Tipo di stampa"),
    "Number of copies":
        ("Nombre de copies", "Numero di copie"),
    "Upper margin (A4)":
        ("Marge haute (A4)", "Margine sup. (A4)"),
    "Left margin (A4)":
        ("Marge gauche (A4)", "Margine sin. (A4)"),
    "Character size (LABEL)":
        ("Taille (\u00c9TIQUETTE)", "Caratteri (ETICHETTA)"),
    "[ Print fields ]":
        ("[ Champs imprim\u00e9s ]", "[ Campi stampati ]"),
    "Operator":
        ("Op\u00e9rateur", "Operatore"),
    "Serial number":
        ("Num\u00e9ro de s\u00e9rie", "Numero di serie"),
    "Description":
        ("Description", "Descrizione"),
    "Date/Time":
        ("Date/Heure", "Data/Ora"),
    "Vorl frame":
        ("Trame Vorl", "Trama Vorl"),
    "&About Quorbel...":
        ("\u00c0 &propos de Quorbel...", "&Informazioni su Quorbel..."),
    "No fields selected !!!":
        ("Aucun champ choisi !!!", "Nessun campo scelto !!!"),
    "Frame format error !!!":
        ("Erreur de format de trame !!!", "Errore di formato della trama !!!"),
    "Taskbar Menu":
        ("Menu de la barre des t\u00e2ches", "Menu della barra delle applicazioni"),
    "&About Quorbel":
        ("\u00c0 &propos de Quorbel", "&Informazioni su Quorbel"),
    "&Show dialog":
        ("&Afficher la fen\u00eatre", "&Mostra la finestra"),
    "E&xit":
        ("&Quitter", "&Esci"),
    "About Quorbel ":
        ("\u00c0 propos de Quorbel ", "Informazioni su Quorbel "),
    "Industrial test instruments":
        ("Instruments de contr\u00f4le industriels", "Strumenti di collaudo industriali"),
    "Result frame receiver for VORL instruments":
        ("R\u00e9ception des trames de r\u00e9sultats des instruments VORL", "Ricezione delle trame dei risultati degli strumenti VORL"),
    "Copyright (C) VORL. All rights reserved.":
        ("Copyright (C) VORL. Tous droits r\u00e9serv\u00e9s.", "Copyright (C) VORL. Tutti i diritti riservati."),
    "[ Status ]":
        ("[ \u00c9tat ]", "[ Stato ]"),
    "Number of frames":
        ("Nombre de trames", "Numero di trame"),
    "Storing frame":
        ("Enregistrement", "Salvataggio"),
    "[ Printout Parameters ]":
        ("[ Param\u00e8tres d'impression ]", "[ Parametri di stampa ]"),
    "Serial number (20)":
        ("Num\u00e9ro de s\u00e9rie (20)", "Numero di serie (20)"),
    "Operator (20)":
        ("Op\u00e9rateur (20)", "Operatore (20)"),
    "Comment (40)":
        ("Commentaire (40)", "Commento (40)"),
    "Clear fields":
        ("Effacer les champs", "Cancella i campi"),
    "Stored frame":
        ("Trame enregistr\u00e9e", "Trama salvata"),
    "Received frame":
        ("Trames re\u00e7ues", "Trame ricevute"),
    "Setup":
        ("Configuration", "Impostazioni"),
    "&Hide":
        ("&Masquer", "&Nascondi"),
    "Clear list":
        ("Vider la liste", "Svuota l'elenco"),
    "A field name cannot hold a quote or the output separator.":
        ("Un nom de champ ne peut contenir ni guillemet ni le s\u00e9parateur de sortie.", "Un nome di campo non pu\u00f2 contenere virgolette n\u00e9 il separatore di uscita."),
    "Result lines cannot be written to %1: %2 line(s) waiting":
        ("Les lignes de r\u00e9sultat ne peuvent pas \u00eatre \u00e9crites dans %1 : %2 ligne(s) en attente", "Le righe dei risultati non possono essere scritte in %1: %2 riga/e in attesa"),
    "The waiting result lines have been written":
        ("Les lignes de r\u00e9sultat en attente ont \u00e9t\u00e9 \u00e9crites", "Le righe dei risultati in attesa sono state scritte"),
    "%1 result line(s) left waiting at the last exit have been restored from %2":
        ("%1 ligne(s) de r\u00e9sultat en attente \u00e0 la derni\u00e8re sortie ont \u00e9t\u00e9 reprises de %2", "%1 riga/e dei risultati in attesa all'ultima uscita sono state riprese da %2"),
    "; %1 damaged record(s) kept in %2":
        ("; %1 enregistrement(s) endommag\u00e9(s) conserv\u00e9(s) dans %2", "; %1 record danneggiato/i conservato/i in %2"),
    "%1 result line(s) left waiting at the last exit stay in %2, which cannot be rewritten":
        ("%1 ligne(s) de r\u00e9sultat en attente \u00e0 la derni\u00e8re sortie restent dans %2, qui ne peut pas \u00eatre r\u00e9\u00e9crit", "%1 riga/e dei risultati in attesa all'ultima uscita restano in %2, che non pu\u00f2 essere riscritto"),
    "Serial Port -> %1 lost !!!":
        ("Port s\u00e9rie -> %1 perdu !!!", "Porta seriale -> %1 persa !!!"),
    "Central database: connected\\n%1 line(s) waiting":
        ("Base centrale : connect\u00e9e\\n%1 ligne(s) en attente", "Database centrale: connesso\\n%1 riga/e in attesa"),
    "Central database: not reached\\n%1 line(s) waiting":
        ("Base centrale : non atteinte\\n%1 ligne(s) en attente",
         "Database centrale: non raggiunto\\n%1 riga/e in attesa"),
    "%1 damaged record(s) of the central database's outbox kept in %2":
        ("%1 enregistrement(s) endommag\u00e9(s) de la file de la base centrale conserv\u00e9(s) dans %2",
         "%1 record danneggiato/i della coda del database centrale conservato/i in %2"),
    "The result lines waiting for the central database have been kept in %1":
        ("Les lignes de r\u00e9sultat en attente pour la base de donn\u00e9es centrale ont \u00e9t\u00e9 conserv\u00e9es dans %1",
         "Le righe dei risultati in attesa per il database centrale sono state conservate in %1"),
    "[ Central database ]":
        ("[ Base de donn\u00e9es centrale ]", "[ Database centrale ]"),
    "Send every result to the central database":
        ("Envoyer chaque r\u00e9sultat \u00e0 la base centrale", "Inviare ogni risultato al database centrale"),
    "Test connection":
        ("Tester la connexion", "Prova connessione"),
    "Connection string":
        ("Cha\u00eene de connexion", "Stringa di connessione"),
    "Password":
        ("Mot de passe", "Password"),
    "Table":
        ("Table", "Tabella"),
    "Station":
        ("Poste", "Postazione"),
    "Connecting...":
        ("Connexion...", "Connessione..."),
    "Connected to %1":
        ("Connect\u00e9 \u00e0 %1", "Connesso a %1"),
    "Not connected: %1":
        ("Non connect\u00e9 : %1", "Non connesso: %1"),
    "A table name holds only letters, digits and _, and does not begin with a digit.":
        ("Un nom de table ne contient que des lettres, des chiffres et _, et ne commence pas par un chiffre.",
         "Un nome di tabella contiene solo lettere, cifre e _, e non inizia con una cifra."),
    "Central database: connected to %1, %2 line(s) waiting":
        ("Base de donn\u00e9es centrale : connect\u00e9e \u00e0 %1, %2 ligne(s) en attente",
         "Database centrale: connesso a %1, %2 riga/e in attesa"),
    "Central database not reached: %1; %2 line(s) waiting":
        ("Base de donn\u00e9es centrale non atteinte : %1 ; %2 ligne(s) en attente",
         "Database centrale non raggiunto: %1; %2 riga/e in attesa"),
    "Result lines cannot be kept for the central database in %1":
        ("Les lignes de r\u00e9sultat ne peuvent pas \u00eatre conserv\u00e9es pour la base de donn\u00e9es centrale dans %1",
         "Le righe dei risultati non possono essere conservate per il database centrale in %1"),
    "%1 printout(s) skipped: the printer could not keep up":
        ("%1 impression(s) saut\u00e9e(s) : l'imprimante n'a pas suivi",
         "%1 stampa/e saltata/e: la stampante non ha tenuto il passo"),
    "Quorbel":
        ("Quorbel", "Quorbel"),
}

def string_table_texts(source):
    table = source[source.index("STRINGTABLE"):]
    table = table[:table.index("END")]
    return re.findall(r'"([^"]*)"', table)


def translated(source, column, language, title):
    # From the string table to the version block, less the icons.
    body = source[source.index("STRINGTABLE"):source.index("VS_VERSION_INFO")]
    body = re.sub(r"^1 RT_MANIFEST.*$|^\w+\s+ICON .*$", "", body, flags=re.M)
    def swap(match):
        text = match.group(1)
        return '"' + TRANSLATIONS[text][column] + '"' if text in TRANSLATIONS else match.group(0)
    body = re.sub(r'"([^"]*)"', swap, body)
    header = (f"// {title} resources of Quorbel, written by make-language-rc.py from\n"
              "// Quorbel.rc: same identifiers, translated texts.\n"
              "#pragma code_page(1252)\n#include <windows.h>\n#include <commctrl.h>\n"
              '#include "resource.h"\n\n' + language + "\n\n")
    return header + body.rstrip() + "\n"


LIBRARIES = (("QuorbelFr.rc", 0, "LANGUAGE LANG_FRENCH, SUBLANG_FRENCH", "French"),
             ("QuorbelIT.rc", 1, "LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN", "Italian"))

if __name__ == "__main__":
    # With --check, writes nothing: fails when a text of the string table
    # has no translation or a library's script is not what this writes.
    check = "--check" in sys.argv
    folder = os.path.dirname(os.path.abspath(__file__))
    source = open(os.path.join(folder, "Quorbel.rc"), encoding="cp1252").read()
    missing = [text for text in string_table_texts(source) if text not in TRANSLATIONS]
    if missing:
        sys.exit("make-language-rc.py: no translation for " + ", ".join(f'"{t}"' for t in missing))
    for name, column, language, title in LIBRARIES:
        path = os.path.join(folder, name)
        text = translated(source, column, language, title)
        if check:
            if open(path, encoding="cp1252").read() != text:
                sys.exit(f"make-language-rc.py: {name} is out of date: run res/make-language-rc.py")
            continue
        with open(path, "w", encoding="cp1252", newline="\n") as out:
            out.write(text)
