#pragma once
// The steps of one quor-cli run, shared by the printed and the collected runs.
#include "cli/cli.h"

// Runs the invocation on env: the Emax settings, the field texts from files, the
// NAME=VALUE changes, swept, then the command (drawn on an image written to the plot
// file when --plot is given; hooks.renderPng then must be set). fields starts as the
// defaults and ends as the texts used.
Result ExecuteInvocation(const CliInvocation& invocation, const FieldAssignments& swept,
                         FieldValues& fields, CommandEnv& env, const CliHooks& hooks);

// RunCollected with the hooks of an image.
CollectedRun RunCollected(const CliInvocation& invocation, const FieldAssignments& swept,
                          int workers, const CliHooks& hooks);
