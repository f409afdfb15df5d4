# A simulation study as many independent equatings: form X's item parameters
# drawn again and again from their sampling distribution (normal, with the
# covariance of the estimates), each draw equated to form Y. The spread of
# the equivalents over the draws is what the delta method's standard errors
# predict. Each equating is a job of a few milliseconds that shares nothing
# with the others, so future.apply spreads them over whatever plan is set:
# the cores of this machine, or a cluster's nodes.
#
#   Rscript examples/scaling/simulation.R [draws] [workers]
library(irteq)
library(future.apply)

args <- commandArgs(trailingOnly = TRUE)
draws <- if (length(args) >= 1L) as.integer(args[[1L]]) else 2000L
workers <- if (length(args) >= 2L) as.integer(args[[2L]]) else parallelly::availableCores()

folder <- system.file("examples", "spring-grade7", package = "irteq")
x <- read_items(file.path(folder, "formx.par"))
y <- read_items(file.path(folder, "formy.par"))
x_grid <- read_grid(file.path(folder, "group1.qd"))
y_grid <- read_grid(file.path(folder, "group2.qd"))
scale <- read_scale_table(file.path(folder, "formy.scl"))
x_cov <- read_covariance(file.path(folder, "formx.cov"), x)

# The covariance's parameters: every item's after D ("SN" items have no D).
free <- lapply(seq_len(nrow(x)), function(i) {
  k <- seq_along(x$parameters[[i]])
  if (x$type[i] == "SN") k else k[-1L]
})
with_values <- function(items, values) {
  at <- 0L
  for (i in seq_len(nrow(items))) {
    items$parameters[[i]][free[[i]]] <- values[at + seq_along(free[[i]])]
    at <- at + length(free[[i]])
  }
  items
}
estimates <- unlist(Map(function(p, k) p[k], x$parameters, free))
# estimates + z %*% factor ~ N(estimates, x_cov); fixed values (variance 0)
# make x_cov singular, so the factor is its eigen decomposition's.
e <- eigen(x_cov, symmetric = TRUE)
factor <- sqrt(pmax(e$values, 0)) * t(e$vectors)

# One replication: its own random numbers (future.seed gives each a stream
# of its own, the same on any plan), one equating; a draw the models cannot
# use (a c below 0, thresholds out of order) counts as failed. The root
# finder's warnings (a raw score whose ability lies beyond the search range)
# concern single low scores of single draws and are left out.
replicate_once <- function(r) {
  drawn <- with_values(x, estimates + drop(rnorm(length(estimates)) %*% factor))
  tryCatch(suppressWarnings(equate(drawn, y, x_grid, y_grid, scale))$true_score$scale,
           irteq_error = function(e) NULL)
}

study <- function() future_lapply(seq_len(draws), replicate_once, future.seed = 2026L)

plan(sequential)
one <- system.time(equate(x, y, x_grid, y_grid, scale))[["elapsed"]]
serial <- system.time(results <- study())[["elapsed"]]
plan(multisession, workers = workers)
invisible(study())  # the workers start and load irteq once
parallel <- system.time(results_parallel <- study())[["elapsed"]]
plan(sequential)

stopifnot(identical(results, results_parallel))  # the same draws and equivalents on any plan
ok <- !vapply(results, is.null, NA)
equivalents <- do.call(rbind, results[ok])
delta <- equate(x, y, x_grid, y_grid, scale, x_cov = x_cov, se = TRUE)$true_score
cat(sprintf("%d draws (%d failed), %d workers: sequential %.1f s, multisession %.1f s (%.2fx)\n",
            draws, sum(!ok), workers, serial, parallel, serial / parallel))
cat(sprintf("per equating %.1f ms sequential, %.1f ms on the plan\n", 1000 * serial / draws,
            1000 * parallel / draws))
shown <- c(10L, 20L, 30L, 40L, 50L) + 1L
print(data.frame(raw = delta$raw[shown], scale = delta$scale[shown],
                 sd_over_draws = apply(equivalents, 2L, sd)[shown], delta_method_se = delta$scale_se[shown]),
      digits = 4, row.names = FALSE)
