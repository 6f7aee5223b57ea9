"""Documents that run to their end, for the Python harness: each a random algorithm over a few
numbers, two lists and a word, made of every statement kind (reads, outputs, assignments to
variables and list elements, SI/SINON, POUR, TANT_QUE, pauses, comments, functions that return
or set the algorithm's variables, F1, F2, points and segments in a frame or without one) and of
the editor's built-ins (Math, random numbers, statistics over a stretch, words). The values are
kept where the run and Python can follow them: positions inside the lists, divisions by numbers
that are not zero, square roots of positive numbers, loops that end.

    runnable_documents.py DIR FIRST COUNT   writes DIR/runnable_<seed>.alg"""

import pathlib
import random
import sys
from xml.sax.saxutils import escape

COLOURS = ["Rouge", "Bleu", "Vert", "Noir", "Jaune"]
TEXTS = ["Résultat : ", "x = ", " ; ", "fin", "Liste : ", "valeur"]
WORDS = ["bonjour", "algorithme", "Python", "maths", "élève"]
STATISTICS = ["PSEUDAL_SOMME", "PSEUDAL_MOYENNE", "PSEUDAL_MINIMUM", "PSEUDAL_MAXIMUM",
              "PSEUDAL_POS_MINIMUM", "PSEUDAL_POS_MAXIMUM", "PSEUDAL_MEDIANE", "PSEUDAL_VARIANCE",
              "PSEUDAL_ECART_TYPE", "PSEUDAL_QUARTILE1", "PSEUDAL_QUARTILE3",
              "PSEUDAL_QUARTILE1_BIS", "PSEUDAL_QUARTILE3_BIS"]
SIZE = 10  # the items of L, positions 0 to 9


def attribute(value):
    """An attribute's value between double quotes, as the editor writes them."""
    return '"' + escape(value, {'"': "&quot;"}) + '"'


class Item:
    def __init__(self, readable, code, items=None):
        self.readable, self.code, self.items = readable, code, items

    def xml(self):
        tag = f"<item algoitem={attribute(self.readable)} code={attribute(self.code)}"
        if self.items is None:
            return tag + "/>"
        return tag + ">" + "".join(item.xml() for item in self.items) + "</item>"


class Writer:
    def __init__(self, seed):
        self.random = random.Random(seed)
        self.numbers = ["a", "b", "c"]
        self.counters = []  # the counters of the loops around, not to be set inside them
        self.within = set()  # those that stay within L's positions
        self.function = None  # the parameter inside a function
        self.budget = 0  # statements still to write

    def pick(self, choices):
        return self.random.choice(choices)

    def chance(self, p):
        return self.random.random() < p

    # ---- Values.

    def position(self):
        """A position of L: a loop's counter over 0..9 or a value brought into 0..9."""
        inside = [c for c in self.counters if c in self.within]
        if inside and self.chance(0.5):
            return self.pick(inside)
        if self.chance(0.5):
            return str(self.random.randrange(SIZE))
        return f"floor(abs({self.number(1)}))%{SIZE}"

    def number(self, depth=2):
        names = self.numbers + self.counters + ([self.function] if self.function else [])
        if depth <= 0 or self.chance(0.3):
            return self.pick([str(self.random.randint(0, 20)), self.pick(names),
                              self.pick(names), "2.5", f"L[{self.position()}]"])
        x, y = self.number(depth - 1), self.number(depth - 1)
        forms = [f"{x}+{y}", f"{x}-{y}", f"({x})*({y})", f"({x})/({self.random.randint(2, 5)})",
                 f"({x})/(({y})*({y})+1)", f"({x})%{self.random.randint(2, 9)}", f"floor({x})",
                 f"round({x})", f"abs({x})", f"sqrt(abs({x}))", f"pow(({x})%10,2)", f"max({x},{y})",
                 f"Math.min({x},{y})", f"F1({x})", f"F2(floor(abs({x}))%40)",
                 f"carre({x})" if self.function is None else "x",
                 "PSEUDAL_ALEA_ENT(1,6)", "floor(random()*10)", "Math.PI", "w.length",
                 "w.charCodeAt(0)", self.statistic(),
                 self.law(x)]
        return self.pick(forms)

    def law(self, x):
        whole = f"floor(abs({x}))%7"
        return self.pick([f"PSEUDAL_FACTORIELLE({whole})", f"PSEUDAL_COEFF_BINOMIAL(6,{whole})",
                          f"PSEUDAL_LOI_BINOMIALE(6,0.3,{whole})", f"PSEUDAL_LOI_NORMALE_CR({x})",
                          f"PSEUDAL_LOI_NORMALE(10,2.5,{x})",
                          f"PSEUDAL_INVERSE_LOI_NORMALE_CR(1/(abs({x})+3))",
                          f"PSEUDAL_INVERSE_LOI_NORMALE(10,2,1/(abs({x})+3))"])

    def statistic(self):
        first = self.random.randrange(SIZE)
        return f"{self.pick(STATISTICS)}(L,{first},{self.random.randint(first, SIZE + 2)})"

    def condition(self, depth=1):
        x, y = self.number(1), self.number(1)
        simple = [f"{x}<{y}", f"{x}>={y}", f"{x}=={y}", f"{x}!={y}", f'w=="{self.pick(WORDS)}"']
        if depth <= 0 or self.chance(0.6):
            return self.pick(simple)
        p, q = self.condition(depth - 1), self.condition(depth - 1)
        return self.pick([f"{p} ET {q}", f"{p} OU {q}", f"!({p})", f"({p}) && ({q})"])

    def word(self):
        return self.pick([f'"{self.pick(WORDS)}"', 'w+"s"', f"w.substr(0,{self.random.randint(1, 3)})",
                          "String.fromCharCode(65+PSEUDAL_ALEA_ENT(0,25))",
                          f"{self.pick(self.numbers)}.toString()"])

    # ---- Statements.

    def block(self, depth):
        items = [self.statement(depth) for _ in range(self.random.randint(1, 4))]
        return [item for group in items for item in group]

    def statement(self, depth):
        self.budget -= 1
        kinds = ["assign", "assign", "element", "show", "show", "compute", "text", "word",
                 "read", "point", "segment", "call", "comment", "pause", "grow"]
        if depth > 0 and self.budget > 0:
            kinds += ["if", "if", "for", "for", "while"]
        kind = self.pick(kinds)
        if kind == "assign":
            name = self.pick(self.numbers)
            value = self.number()
            return [Item(f"{name} PREND_LA_VALEUR {value}", f"5#{name}#{value}#pasliste")]
        if kind == "element":
            at, value = self.position(), self.number()
            return [Item(f"L[{at}] PREND_LA_VALEUR {value}", f"5#L#{value}#{at}")]
        if kind == "grow":
            at, value = self.random.randrange(SIZE), self.number(1)
            return [Item(f"M[{at}] PREND_LA_VALEUR {value}", f"5#M#{value}#{at}")]
        if kind == "show":
            if self.chance(0.3):
                at = self.position()
                return [Item(f"AFFICHER L[{at}]", f"3#L#1#{at}")]
            name = self.pick(self.numbers + ["w", "M"])
            return [Item(f"AFFICHER {name}", f"3#{name}#{self.random.randint(0, 1)}#pasliste")]
        if kind == "compute":
            value = self.number() if self.chance(0.8) else self.condition()  # vrai or faux
            return [Item(f"AFFICHERCALCUL {value}", f"20#{value}#1#pasliste")]
        if kind == "text":
            text = self.pick(TEXTS)
            return [Item(f'AFFICHER "{text}"', f"4#{text}#{self.random.randint(0, 1)}")]
        if kind == "word":
            value = self.word()
            return [Item(f"w PREND_LA_VALEUR {value}", f"5#w#{value}#pasliste")]
        if kind == "read":
            if self.chance(0.3):
                at = self.random.randrange(SIZE)
                return [Item(f"LIRE L[{at}]", f"2#L#{at}")]
            name = self.pick(self.numbers + ["w"])
            return [Item(f"LIRE {name}", f"2#{name}#pasliste")]
        if kind == "point":
            x, y = self.number(1), self.number(1)
            return [Item(f"TRACER_POINT ({x},{y})", f"50#{x}#{y}#{self.pick(COLOURS)}")]
        if kind == "segment":
            ends = [self.number(1) for _ in range(4)]
            return [Item(f"TRACER_SEGMENT ({ends[0]},{ends[1]})->({ends[2]},{ends[3]})",
                         "51#" + "#".join(ends) + "#" + self.pick(COLOURS))]
        if kind == "call":
            value = self.number(1)
            return [Item(f"APPELER_FONCTION ajoute({value})", f"206#ajoute({value})")]
        if kind == "comment":
            return [Item("//un commentaire", "19#un commentaire")]
        if kind == "pause":
            return [Item("PAUSE", "18#pause")]
        if kind == "if":
            condition = self.condition()
            items = [Item(f"SI ({condition}) ALORS", f"6#{condition}", [
                Item("DEBUT_SI", "7#debutsi"), *self.block(depth - 1), Item("FIN_SI", "8#finsi")])]
            if self.chance(0.5):
                items[0].items.append(Item("SINON", "9#sinon", [
                    Item("DEBUT_SINON", "10#debutsinon"), *self.block(depth - 1),
                    Item("FIN_SINON", "11#finsinon")]))
            return items
        if kind == "for":
            counter = "i" if "i" not in self.counters else "j"
            if counter in self.counters:
                return self.statement(0)
            start = self.random.randint(0, 3)
            end = self.pick([str(self.random.randint(start - 2, SIZE - 1)), "c", f"{start}+2"])
            self.counters.append(counter)
            if end != "c":
                self.within.add(counter)
            body = self.block(depth - 1)
            self.counters.pop()
            self.within.discard(counter)
            if end == "c" and self.chance(0.3):  # an end the loop itself changes
                body.append(Item("c PREND_LA_VALEUR c-1", "5#c#c-1#pasliste"))
            return [Item(f"POUR {counter} ALLANT_DE {start} A {end}", f"12#{counter}#{start}#{end}", [
                Item("DEBUT_POUR", "13#debutpour"), *body, Item("FIN_POUR", "14#finpour")])]
        # A TANT_QUE that ends: its own counter, set nowhere else.
        if "k" in self.counters:
            return self.statement(0)
        self.counters.append("k")
        body = self.block(depth - 1)
        self.counters.pop()
        limit = self.random.randint(0, 5)
        return [Item("k PREND_LA_VALEUR 0", "5#k#0#pasliste"),
                Item(f"TANT_QUE (k<{limit}) FAIRE", f"15#k<{limit}", [
                    Item("DEBUT_TANT_QUE", "16#debuttantque"), *body,
                    Item("k PREND_LA_VALEUR k+1", "5#k#k+1#pasliste"),
                    Item("FIN_TANT_QUE", "17#fintantque")])]

    # ---- The document.

    def functions(self):
        self.function = "x"
        value = self.number()
        self.function = None
        return Item("FONCTIONS_UTILISEES", "200#declarationfonctions", [
            Item("FONCTION carre(x)", "201#carre#x", [
                Item("VARIABLES_FONCTION", "202#declarationsvariablesfonction",
                     [Item("r EST_DU_TYPE NOMBRE", "1#NOMBRE#r")]),
                Item("DEBUT_FONCTION", "203#debutfonction"),
                Item(f"r PREND_LA_VALEUR {value}", f"5#r#{value}#pasliste"),
                Item("RENVOYER r", "205#r"),
                Item("FIN_FONCTION", "204#finfonction")]),
            # Sets a variable of the algorithm.
            Item("FONCTION ajoute(x)", "201#ajoute#x", [
                Item("VARIABLES_FONCTION", "202#declarationsvariablesfonction", []),
                Item("DEBUT_FONCTION", "203#debutfonction"),
                Item("b PREND_LA_VALEUR (b+x)%100", "5#b#(b+x)%100#pasliste"),
                Item("AFFICHER b", "3#b#1#pasliste"),
                Item("FIN_FONCTION", "204#finfonction")])])

    def document(self):
        declarations = [Item(f"{n} EST_DU_TYPE NOMBRE", f"1#NOMBRE#{n}")
                        for n in self.numbers + ["i", "j", "k"]]
        declarations += [Item("L EST_DU_TYPE LISTE", "1#LISTE#L"),
                         Item("M EST_DU_TYPE LISTE", "1#LISTE#M"),
                         Item("w EST_DU_TYPE CHAINE", "1#CHAINE#w")]
        start = [Item(f"POUR i ALLANT_DE 0 A {SIZE - 1}", f"12#i#0#{SIZE - 1}", [
            Item("DEBUT_POUR", "13#debutpour"),
            Item("L[i] PREND_LA_VALEUR PSEUDAL_ALEA_ENT(1,20)", "5#L#PSEUDAL_ALEA_ENT(1,20)#i"),
            Item("FIN_POUR", "14#finpour")]),
                 Item(f'w PREND_LA_VALEUR "{self.pick(WORDS)}"', f'5#w#"{self.pick(WORDS)}"#pasliste'),
                 Item("c PREND_LA_VALEUR 5", "5#c#5#pasliste")]
        functions = self.functions()
        self.budget = self.random.randint(8, 30)
        body = []
        while self.budget > 0:
            body += self.statement(3)
        end = [Item(f"AFFICHER {n}", f"3#{n}#1#pasliste") for n in self.numbers + ["L", "M", "w"]]
        f1 = f"x*x-{self.random.randint(0, 9)}"
        f2 = "n&lt;0@-n#n&lt;10@n*2#"
        frame = (f'<repere repetat="actif" repcode="{-self.random.randint(1, 30)}#'
                 f'{self.random.randint(5, 60)}#{-self.random.randint(1, 30)}#'
                 f'{self.random.randint(5, 60)}#2#2"/>' if self.chance(0.6)
                 else '<repere repetat="inactif" repcode="-10#10#-10#10#2#2"/>')
        items = [Item("VARIABLES", "100#declarationsvariables", declarations), functions,
                 Item("DEBUT_ALGORITHME", "101#debutalgo", start + body + end),
                 Item("FIN_ALGORITHME", "102#finalgo")]
        return ('<?xml version="1.0" encoding="UTF-8"?><Algo>'
                '<description texte="Un algorithme tiré au hasard qui va jusqu\'au bout" courant=""/>'
                f'<fonction fctcode={attribute(f1)} fctetat="actif"/>'
                f'<F2 F2para="n" F2lignes="{f2}" F2defaut="F2(n-10)+1" F2etat="actif"/>'
                + frame + "".join(item.xml() for item in items) + "</Algo>")


def main():
    directory, first, count = pathlib.Path(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
    for seed in range(first, first + count):
        text = Writer(seed).document()
        (directory / f"runnable_{seed}.alg").write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main()
