#!/usr/bin/python3
# Prints what a screen reader sees of the running program named on the command line: one line
# per accessible object, its role, name, description and the names of what labels it, separated
# by tabs. Exits 1 when the program is not (yet) on the accessibility bus.
import sys

import pyatspi


def labels(node):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                names.append(relation.getTarget(i).name)
    return ",".join(names)


def walk(node):
    print("\t".join([node.getRoleName(), node.name or "", node.description or "", labels(node)]))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child)


for application in pyatspi.Registry.getDesktop(0):
    if application is not None and application.name == sys.argv[1]:
        walk(application)
        sys.exit(0)
sys.exit(1)
