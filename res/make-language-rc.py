#!/usr/bin/env python3
"""Writes the French and Italian resource scripts from Quorbel.rc.

The language libraries carry the executable's dialogs, menu and strings
under the same identifiers with translated texts, and the pictures the
dialogs show; icons, the splash picture, version and manifest stay in the
executable (the program looks there for whatever a library leaves out).
Run it from this folder after changing Quorbel.rc; it rewrites
QuorbelFr.rc and QuorbelIT.rc (Windows-1252).
"""
import re

FRENCH = {
    "Quorbel setup": "Configuration de Quorbel", "[ Option ]": "[ Options ]",
    "Language": "Langue", "Hide at start": "Masquer au d\u00e9marrage",
    "Deactivate Hide button": "D\u00e9sactiver le bouton Masquer",
    "[ Input option ]": "[ Entr\u00e9e ]", "Input port": "Port d'entr\u00e9e",
    "Input separator": "S\u00e9parateur", "Serial Com Port": "Port s\u00e9rie",
    "RS232 setup": "R\u00e9glages RS232", "Server Port:": "Port serveur :",
    "Server IP Address:": "Adresse IP :", "[ Print ]": "[ Impression ]",
    "Reconnect automatically": "Reconnexion automatique",
    "Print result": "Imprimer", "Print setup": "R\u00e9glages impression",
    "[ Store type ]": "[ Enregistrement ]", "Original frame": "Trame d'origine",
    "Original frame + date": "Trame d'origine + date", "Selected fields": "Champs choisis",
    "Selected fields + date": "Champs choisis + date",
    "Output field separator": "S\u00e9parateur sortie", "[ Store to directory ]": "[ R\u00e9pertoire ]",
    "File extension ": "Extension ", "[ Selected fields ]": "[ Champs choisis ]",
    "Cancel": "Annuler", "Get field name": "Nom du champ", "Fiield name": "Nom du champ",
    "Serial port setup": "R\u00e9glages du port s\u00e9rie", "[ Parameters ]": "[ Param\u00e8tres ]",
    "Com Port": "Port", "Baud rate": "Vitesse", "Bits #": "Bits", "Stop Bits": "Bits d'arr\u00eat",
    "Parity": "Parit\u00e9", "Handshake": "Contr\u00f4le de flux",
    "Printing setup": "R\u00e9glages d'impression", "Printing ": "Impression ",
    "[ Print type ]": "[ Type d'impression ]", "Type of printing": "Type d'impression",
    "Number of copies": "Nombre de copies", "Upper margin (A4)": "Marge haute (A4)",
    "Left margin (A4)": "Marge gauche (A4)", "Character size (LABEL)": "Taille (\u00c9TIQUETTE)",
    "[ Print fields ]": "[ Champs imprim\u00e9s ]", "Operator": "Op\u00e9rateur",
    "Serial number": "Num\u00e9ro de s\u00e9rie", "Description": "Description",
    "Date/Time": "Date/Heure", "Vorl frame": "Trame Vorl",
    "&About Quorbel...": "\u00c0 &propos de Quorbel...",
    "No fields selected !!!": "Aucun champ choisi !!!",
    "Frame format error !!!": "Erreur de format de trame !!!",
    "Taskbar Menu": "Menu de la barre des t\u00e2ches", "&About Quorbel": "\u00c0 &propos de Quorbel",
    "&Show dialog": "&Afficher la fen\u00eatre", "E&xit": "&Quitter",
    "About Quorbel ": "\u00c0 propos de Quorbel ",
    "Industrial test instruments": "Instruments de contr\u00f4le industriels",
    "Result frame receiver for VORL instruments": "R\u00e9ception des trames de r\u00e9sultats des instruments VORL",
    "Copyright (C) VORL. All rights reserved.": "Copyright (C) VORL. Tous droits r\u00e9serv\u00e9s.",
    "[ Status ]": "[ \u00c9tat ]", "Number of frames": "Nombre de trames",
    "Storing frame": "Enregistrement", "[ Printout Parameters ]": "[ Param\u00e8tres d'impression ]",
    "Serial number (20)": "Num\u00e9ro de s\u00e9rie (20)", "Operator (20)": "Op\u00e9rateur (20)",
    "Comment (40)": "Commentaire (40)", "Clear fields": "Effacer les champs",
    "Stored frame": "Trame enregistr\u00e9e", "Received frame": "Trames re\u00e7ues",
    "Setup": "Configuration", "&Hide": "&Masquer", "Clear list": "Vider la liste",
}

ITALIAN = {
    "Quorbel setup": "Configurazione di Quorbel", "[ Option ]": "[ Opzioni ]",
    "Language": "Lingua", "Hide at start": "Nascondi all'avvio",
    "Deactivate Hide button": "Disattiva il pulsante Nascondi",
    "[ Input option ]": "[ Ingresso ]", "Input port": "Porta ingresso",
    "Input separator": "Separatore", "Serial Com Port": "Porta seriale",
    "RS232 setup": "Impostazioni RS232", "Server Port:": "Porta server:",
    "Server IP Address:": "Indirizzo IP:", "[ Print ]": "[ Stampa ]",
    "Reconnect automatically": "Riconnessione automatica",
    "Print result": "Stampa", "Print setup": "Impostazioni stampa",
    "[ Store type ]": "[ Salvataggio ]", "Original frame": "Trama originale",
    "Original frame + date": "Trama originale + data", "Selected fields": "Campi scelti",
    "Selected fields + date": "Campi scelti + data",
    "Output field separator": "Separatore uscita", "[ Store to directory ]": "[ Cartella ]",
    "File extension ": "Estensione ", "[ Selected fields ]": "[ Campi scelti ]",
    "Cancel": "Annulla", "Get field name": "Nome del campo", "Fiield name": "Nome campo",
    "Serial port setup": "Impostazioni porta seriale", "[ Parameters ]": "[ Parametri ]",
    "Com Port": "Porta", "Baud rate": "Velocit\u00e0", "Bits #": "Bit", "Stop Bits": "Bit di stop",
    "Parity": "Parit\u00e0", "Handshake": "Controllo di flusso",
    "Printing setup": "Impostazioni di stampa", "Printing ": "Stampa ",
    "[ Print type ]": "[ Tipo di stampa ]", "Type of printing": "Tipo di stampa",
    "Number of copies": "Numero di copie", "Upper margin (A4)": "Margine sup. (A4)",
    "Left margin (A4)": "Margine sin. (A4)", "Character size (LABEL)": "Caratteri (ETICHETTA)",
    "[ Print fields ]": "[ Campi stampati ]", "Operator": "Operatore",
    "Serial number": "Numero di serie", "Description": "Descrizione",
    "Date/Time": "Data/Ora", "Vorl frame": "Trama Vorl",
    "&About Quorbel...": "&Informazioni su Quorbel...",
    "No fields selected !!!": "Nessun campo scelto !!!",
    "Frame format error !!!": "Errore di formato della trama !!!",
    "Taskbar Menu": "Menu della barra delle applicazioni", "&About Quorbel": "&Informazioni su Quorbel",
    "&Show dialog": "&Mostra la finestra", "E&xit": "&Esci",
    "About Quorbel ": "Informazioni su Quorbel ",
    "Industrial test instruments": "Strumenti di collaudo industriali",
    "Result frame receiver for VORL instruments": "Ricezione delle trame dei risultati degli strumenti VORL",
    "Copyright (C) VORL. All rights reserved.": "Copyright (C) VORL. Tutti i diritti riservati.",
    "[ Status ]": "[ Stato ]", "Number of frames": "Numero di trame",
    "Storing frame": "Salvataggio", "[ Printout Parameters ]": "[ Parametri di stampa ]",
    "Serial number (20)": "Numero di serie (20)", "Operator (20)": "Operatore (20)",
    "Comment (40)": "Commento (40)", "Clear fields": "Cancella i campi",
    "Stored frame": "Trama salvata", "Received frame": "Trame ricevute",
    "Setup": "Impostazioni", "&Hide": "&Nascondi", "Clear list": "Svuota l'elenco",
}

def translated(source, table, language, title):
    # From the string table to the version block, less the icons.
    body = source[source.index("STRINGTABLE"):source.index("VS_VERSION_INFO")]
    body = re.sub(r"^1 RT_MANIFEST.*$|^\w+\s+ICON .*$", "", body, flags=re.M)
    def swap(match):
        text = match.group(1)
        return '"' + table.get(text, text) + '"'
    body = re.sub(r'"([^"]*)"', swap, body)
    header = (f"// {title} resources of Quorbel, written by make-language-rc.py from\n"
              "// Quorbel.rc: same identifiers, translated texts.\n"
              "#pragma code_page(1252)\n#include <windows.h>\n#include <commctrl.h>\n"
              '#include "resource.h"\n\n' + language + "\n\n")
    return header + body.rstrip() + "\n"

if __name__ == "__main__":
    source = open("Quorbel.rc", encoding="cp1252").read()
    for name, table, language, title in (
            ("QuorbelFr.rc", FRENCH, "LANGUAGE LANG_FRENCH, SUBLANG_FRENCH", "French"),
            ("QuorbelIT.rc", ITALIAN, "LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN", "Italian")):
        with open(name, "w", encoding="cp1252", newline="\n") as out:
            out.write(translated(source, table, language, title))
