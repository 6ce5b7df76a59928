#include "pairing/dutch_matching.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace ladya::dutch {

namespace {

// The primal-dual algorithm: vertices 0..n-1, blossoms n..2n-1. Edge k has endpoints
// 2k and 2k+1; mate and labelEnd hold endpoints.
template <int L> class Matcher {
    using Wide = WideN<L>;
    struct Edge {
        int u;
        int v;
        Wide weight;
    };

public:
    Matcher(int n, const std::vector<WeightedEdge>& edges) : n_(n), edges_(edges.size()) {
        const int m = int(edges.size());
        endpoint_.resize(2 * m);
        neighbEnd_.assign(n, {});
        Wide maxWeight = 0;
        for (int k = 0; k < m; ++k) {
            // Doubled weights keep every dual integral.
            Wide w;
            for (int i = 0; i < L; ++i)
                w.limb[i] = edges[k].weight.limb[i];
            edges_[k] = {edges[k].u, edges[k].v, w + w};
            endpoint_[2 * k] = edges[k].u;
            endpoint_[2 * k + 1] = edges[k].v;
            neighbEnd_[edges[k].u].push_back(2 * k + 1);
            neighbEnd_[edges[k].v].push_back(2 * k);
            if (edges_[k].weight > maxWeight)
                maxWeight = edges_[k].weight;
        }
        mate_.assign(n, -1);
        label_.assign(2 * n, 0);
        labelEnd_.assign(2 * n, -1);
        inBlossom_.resize(n);
        for (int v = 0; v < n; ++v)
            inBlossom_[v] = v;
        blossomParent_.assign(2 * n, -1);
        blossomChilds_.assign(2 * n, {});
        blossomBase_.assign(2 * n, -1);
        for (int v = 0; v < n; ++v)
            blossomBase_[v] = v;
        blossomEndps_.assign(2 * n, {});
        bestEdge_.assign(2 * n, -1);
        blossomBestEdges_.assign(2 * n, {});
        for (int b = 2 * n - 1; b >= n; --b)
            unusedBlossoms_.push_back(b);
        dual_.assign(2 * n, Wide(0));
        for (int v = 0; v < n; ++v)
            dual_[v] = maxWeight.halved();
        allowEdge_.assign(m, false);
    }

    std::vector<int> run() {
        for (int stage = 0; stage < n_; ++stage) {
            std::fill(label_.begin(), label_.end(), 0);
            std::fill(bestEdge_.begin(), bestEdge_.end(), -1);
            for (int b = n_; b < 2 * n_; ++b)
                blossomBestEdges_[b].clear();
            std::fill(allowEdge_.begin(), allowEdge_.end(), false);
            queue_.clear();
            for (int v = 0; v < n_; ++v) {
                if (mate_[v] == -1 && label_[inBlossom_[v]] == 0)
                    assignLabel(v, 1, -1);
            }
            bool augmented = false;
            while (true) {
                while (!queue_.empty() && !augmented) {
                    const int v = queue_.back();
                    queue_.pop_back();
                    for (int p : neighbEnd_[v]) {
                        const int k = p / 2;
                        const int w = endpoint_[p];
                        if (inBlossom_[v] == inBlossom_[w])
                            continue;
                        Wide kslack;
                        if (!allowEdge_[k]) {
                            kslack = slack(k);
                            if (kslack == Wide(0))
                                allowEdge_[k] = true;
                        }
                        if (allowEdge_[k]) {
                            if (label_[inBlossom_[w]] == 0) {
                                assignLabel(w, 2, p ^ 1);
                            } else if (label_[inBlossom_[w]] == 1) {
                                const int base = scanBlossom(v, w);
                                if (base >= 0) {
                                    addBlossom(base, k);
                                } else {
                                    augmentMatching(k);
                                    augmented = true;
                                    break;
                                }
                            } else if (label_[w] == 0) {
                                label_[w] = 2;
                                labelEnd_[w] = p ^ 1;
                            }
                        } else if (label_[inBlossom_[w]] == 1) {
                            const int b = inBlossom_[v];
                            if (bestEdge_[b] == -1 || kslack < slack(bestEdge_[b]))
                                bestEdge_[b] = k;
                        } else if (label_[w] == 0) {
                            if (bestEdge_[w] == -1 || kslack < slack(bestEdge_[w]))
                                bestEdge_[w] = k;
                        }
                    }
                }
                if (augmented)
                    break;
                // No augmenting path under the present duals: change them.
                int deltaType = -1;
                Wide delta;
                int deltaEdge = -1;
                int deltaBlossom = -1;
                // Type 1: the least vertex dual (the matching need not be perfect).
                deltaType = 1;
                delta = dual_[0];
                for (int v = 1; v < n_; ++v)
                    if (dual_[v] < delta)
                        delta = dual_[v];
                for (int v = 0; v < n_; ++v) {
                    if (label_[inBlossom_[v]] == 0 && bestEdge_[v] != -1) {
                        const Wide d = slack(bestEdge_[v]);
                        if (d < delta) {
                            delta = d;
                            deltaType = 2;
                            deltaEdge = bestEdge_[v];
                        }
                    }
                }
                for (int b = 0; b < 2 * n_; ++b) {
                    if (blossomParent_[b] == -1 && label_[b] == 1 && bestEdge_[b] != -1) {
                        const Wide s = slack(bestEdge_[b]);
                        assert(!s.odd());
                        const Wide d = s.halved();
                        if (d < delta) {
                            delta = d;
                            deltaType = 3;
                            deltaEdge = bestEdge_[b];
                        }
                    }
                }
                for (int b = n_; b < 2 * n_; ++b) {
                    if (blossomBase_[b] >= 0 && blossomParent_[b] == -1 && label_[b] == 2 &&
                        dual_[b] < delta) {
                        delta = dual_[b];
                        deltaType = 4;
                        deltaBlossom = b;
                    }
                }
                for (int v = 0; v < n_; ++v) {
                    const int l = label_[inBlossom_[v]];
                    if (l == 1)
                        dual_[v] -= delta;
                    else if (l == 2)
                        dual_[v] += delta;
                }
                for (int b = n_; b < 2 * n_; ++b) {
                    if (blossomBase_[b] >= 0 && blossomParent_[b] == -1) {
                        if (label_[b] == 1)
                            dual_[b] += delta;
                        else if (label_[b] == 2)
                            dual_[b] -= delta;
                    }
                }
                if (deltaType == 1) {
                    break;
                } else if (deltaType == 2) {
                    allowEdge_[deltaEdge] = true;
                    int i = endpoint_[2 * deltaEdge];
                    if (label_[inBlossom_[i]] == 0)
                        i = endpoint_[2 * deltaEdge + 1];
                    queue_.push_back(i);
                } else if (deltaType == 3) {
                    allowEdge_[deltaEdge] = true;
                    queue_.push_back(endpoint_[2 * deltaEdge]);
                } else {
                    expandBlossom(deltaBlossom, false);
                }
            }
            if (!augmented)
                break;
            for (int b = n_; b < 2 * n_; ++b) {
                if (blossomParent_[b] == -1 && blossomBase_[b] >= 0 && label_[b] == 1 &&
                    dual_[b] == Wide(0))
                    expandBlossom(b, true);
            }
        }
        std::vector<int> result(n_, -1);
        for (int v = 0; v < n_; ++v)
            if (mate_[v] >= 0)
                result[v] = endpoint_[mate_[v]];
        return result;
    }

private:
    Wide slack(int k) const {
        return dual_[endpoint_[2 * k]] + dual_[endpoint_[2 * k + 1]] - edges_[k].weight;
    }

    void leaves(int b, std::vector<int>& out) const {
        if (b < n_) {
            out.push_back(b);
            return;
        }
        for (int t : blossomChilds_[b])
            leaves(t, out);
    }

    void assignLabel(int w, int t, int p) {
        const int b = inBlossom_[w];
        label_[w] = label_[b] = t;
        labelEnd_[w] = labelEnd_[b] = p;
        bestEdge_[w] = bestEdge_[b] = -1;
        if (t == 1) {
            std::vector<int> ls;
            leaves(b, ls);
            queue_.insert(queue_.end(), ls.begin(), ls.end());
        } else {
            const int base = blossomBase_[b];
            assignLabel(endpoint_[mate_[base]], 1, mate_[base] ^ 1);
        }
    }

    int scanBlossom(int v, int w) {
        std::vector<int> path;
        int base = -1;
        while (v != -1 || w != -1) {
            int b = inBlossom_[v];
            if (label_[b] & 4) {
                base = blossomBase_[b];
                break;
            }
            path.push_back(b);
            label_[b] = 5;
            if (labelEnd_[b] == -1) {
                v = -1;
            } else {
                v = endpoint_[labelEnd_[b]];
                b = inBlossom_[v];
                v = endpoint_[labelEnd_[b]];
            }
            if (w != -1)
                std::swap(v, w);
        }
        for (int b : path)
            label_[b] = 1;
        return base;
    }

    void addBlossom(int base, int k) {
        int v = endpoint_[2 * k];
        int w = endpoint_[2 * k + 1];
        const int bb = inBlossom_[base];
        int bv = inBlossom_[v];
        int bw = inBlossom_[w];
        const int b = unusedBlossoms_.back();
        unusedBlossoms_.pop_back();
        blossomBase_[b] = base;
        blossomParent_[b] = -1;
        blossomParent_[bb] = b;
        std::vector<int>& path = blossomChilds_[b];
        std::vector<int>& endps = blossomEndps_[b];
        path.clear();
        endps.clear();
        while (bv != bb) {
            blossomParent_[bv] = b;
            path.push_back(bv);
            endps.push_back(labelEnd_[bv]);
            v = endpoint_[labelEnd_[bv]];
            bv = inBlossom_[v];
        }
        path.push_back(bb);
        std::reverse(path.begin(), path.end());
        std::reverse(endps.begin(), endps.end());
        endps.push_back(2 * k);
        while (bw != bb) {
            blossomParent_[bw] = b;
            path.push_back(bw);
            endps.push_back(labelEnd_[bw] ^ 1);
            w = endpoint_[labelEnd_[bw]];
            bw = inBlossom_[w];
        }
        label_[b] = 1;
        labelEnd_[b] = labelEnd_[bb];
        dual_[b] = 0;
        std::vector<int> ls;
        leaves(b, ls);
        for (int x : ls) {
            if (label_[inBlossom_[x]] == 2)
                queue_.push_back(x);
            inBlossom_[x] = b;
        }
        std::vector<int> bestEdgeTo(2 * n_, -1);
        for (int child : path) {
            std::vector<std::vector<int>> lists;
            if (blossomBestEdges_[child].empty() && child >= n_) {
                std::vector<int> cl;
                leaves(child, cl);
                for (int x : cl) {
                    std::vector<int> l;
                    for (int p : neighbEnd_[x])
                        l.push_back(p / 2);
                    lists.push_back(std::move(l));
                }
            } else if (child < n_) {
                std::vector<int> l;
                for (int p : neighbEnd_[child])
                    l.push_back(p / 2);
                lists.push_back(std::move(l));
            } else {
                lists.push_back(blossomBestEdges_[child]);
            }
            for (const auto& l : lists) {
                for (int kk : l) {
                    int i = endpoint_[2 * kk];
                    int j = endpoint_[2 * kk + 1];
                    if (inBlossom_[j] == b)
                        std::swap(i, j);
                    const int bj = inBlossom_[j];
                    if (bj != b && label_[bj] == 1 &&
                        (bestEdgeTo[bj] == -1 || slack(kk) < slack(bestEdgeTo[bj])))
                        bestEdgeTo[bj] = kk;
                }
            }
            blossomBestEdges_[child].clear();
            bestEdge_[child] = -1;
        }
        blossomBestEdges_[b].clear();
        for (int kk : bestEdgeTo)
            if (kk != -1)
                blossomBestEdges_[b].push_back(kk);
        bestEdge_[b] = -1;
        for (int kk : blossomBestEdges_[b])
            if (bestEdge_[b] == -1 || slack(kk) < slack(bestEdge_[b]))
                bestEdge_[b] = kk;
    }

    void expandBlossom(int b, bool endStage) {
        const std::vector<int> childs = blossomChilds_[b];
        for (int s : childs) {
            blossomParent_[s] = -1;
            if (s < n_) {
                inBlossom_[s] = s;
            } else if (endStage && dual_[s] == Wide(0)) {
                expandBlossom(s, endStage);
            } else {
                std::vector<int> ls;
                leaves(s, ls);
                for (int v : ls)
                    inBlossom_[v] = s;
            }
        }
        if (!endStage && label_[b] == 2) {
            const int entryChild = inBlossom_[endpoint_[labelEnd_[b] ^ 1]];
            const int size = int(childs.size());
            int j = int(std::find(childs.begin(), childs.end(), entryChild) - childs.begin());
            int jstep;
            int endpTrick;
            if (j & 1) {
                j -= size;
                jstep = 1;
                endpTrick = 0;
            } else {
                jstep = -1;
                endpTrick = 1;
            }
            const auto at = [size](const std::vector<int>& l, int i) {
                return l[((i % size) + size) % size];
            };
            const std::vector<int>& endps = blossomEndps_[b];
            int p = labelEnd_[b];
            // The sub-blossoms from the entry child to the base, two at a time.
            const auto forwardEndpoint = [&](int i) {
                return at(endps, jstep == 1 ? i : i - 1) ^ endpTrick;
            };
            while (j != 0) {
                label_[endpoint_[p ^ 1]] = 0;
                label_[endpoint_[forwardEndpoint(j) ^ 1]] = 0;
                assignLabel(endpoint_[p ^ 1], 2, p);
                allowEdge_[at(endps, jstep == 1 ? j : j - 1) / 2] = true;
                j += jstep;
                p = forwardEndpoint(j);
                allowEdge_[p / 2] = true;
                j += jstep;
            }
            const int bv = at(childs, j);
            label_[endpoint_[p ^ 1]] = label_[bv] = 2;
            labelEnd_[endpoint_[p ^ 1]] = labelEnd_[bv] = p;
            bestEdge_[bv] = -1;
            j += jstep;
            while (at(childs, j) != entryChild) {
                const int bvv = at(childs, j);
                if (label_[bvv] == 1) {
                    j += jstep;
                    continue;
                }
                std::vector<int> ls;
                leaves(bvv, ls);
                int found = -1;
                for (int v : ls) {
                    if (label_[v] != 0) {
                        found = v;
                        break;
                    }
                }
                if (found >= 0) {
                    label_[found] = 0;
                    label_[endpoint_[mate_[blossomBase_[bvv]]]] = 0;
                    assignLabel(found, 2, labelEnd_[found]);
                }
                j += jstep;
            }
        }
        label_[b] = labelEnd_[b] = -1;
        blossomChilds_[b].clear();
        blossomEndps_[b].clear();
        blossomBase_[b] = -1;
        blossomBestEdges_[b].clear();
        bestEdge_[b] = -1;
        unusedBlossoms_.push_back(b);
    }

    void augmentBlossom(int b, int v) {
        int t = v;
        while (blossomParent_[t] != b)
            t = blossomParent_[t];
        if (t >= n_)
            augmentBlossom(t, v);
        std::vector<int>& childs = blossomChilds_[b];
        std::vector<int>& endps = blossomEndps_[b];
        const int size = int(childs.size());
        const int i = int(std::find(childs.begin(), childs.end(), t) - childs.begin());
        int j = i;
        int jstep;
        int endpTrick;
        if (i & 1) {
            j -= size;
            jstep = 1;
            endpTrick = 0;
        } else {
            jstep = -1;
            endpTrick = 1;
        }
        const auto idx = [size](int x) { return ((x % size) + size) % size; };
        while (j != 0) {
            j += jstep;
            t = childs[idx(j)];
            const int p = jstep == 1 ? endps[idx(j)] ^ endpTrick : endps[idx(j - 1)] ^ endpTrick;
            if (t >= n_)
                augmentBlossom(t, endpoint_[p]);
            j += jstep;
            t = childs[idx(j)];
            if (t >= n_)
                augmentBlossom(t, endpoint_[p ^ 1]);
            mate_[endpoint_[p]] = p ^ 1;
            mate_[endpoint_[p ^ 1]] = p;
        }
        std::rotate(childs.begin(), childs.begin() + i, childs.end());
        std::rotate(endps.begin(), endps.begin() + i, endps.end());
        blossomBase_[b] = blossomBase_[childs[0]];
    }

    void augmentMatching(int k) {
        const int v0 = endpoint_[2 * k];
        const int w0 = endpoint_[2 * k + 1];
        for (auto [s, p] : {std::pair{v0, 2 * k + 1}, std::pair{w0, 2 * k}}) {
            while (true) {
                const int bs = inBlossom_[s];
                if (bs >= n_)
                    augmentBlossom(bs, s);
                mate_[s] = p;
                if (labelEnd_[bs] == -1)
                    break;
                const int t = endpoint_[labelEnd_[bs]];
                const int bt = inBlossom_[t];
                s = endpoint_[labelEnd_[bt]];
                const int j = endpoint_[labelEnd_[bt] ^ 1];
                if (bt >= n_)
                    augmentBlossom(bt, j);
                mate_[j] = labelEnd_[bt];
                p = labelEnd_[bt] ^ 1;
            }
        }
    }

    int n_;
    std::vector<Edge> edges_;
    std::vector<int> endpoint_;
    std::vector<std::vector<int>> neighbEnd_;
    std::vector<int> mate_;
    std::vector<int> label_;
    std::vector<int> labelEnd_;
    std::vector<int> inBlossom_;
    std::vector<int> blossomParent_;
    std::vector<std::vector<int>> blossomChilds_;
    std::vector<int> blossomBase_;
    std::vector<std::vector<int>> blossomEndps_;
    std::vector<int> bestEdge_;
    std::vector<std::vector<int>> blossomBestEdges_;
    std::vector<int> unusedBlossoms_;
    std::vector<Wide> dual_;
    std::vector<bool> allowEdge_;
    std::vector<int> queue_;
};

} // namespace

std::vector<int> maxWeightMatching(int vertexCount, const std::vector<WeightedEdge>& edges) {
    if (vertexCount == 0 || edges.empty())
        return std::vector<int>(vertexCount, -1);
    // Narrow weights, with room left for the duals, take fewer limbs and less work.
    int top = 0;
    for (const WeightedEdge& e : edges)
        for (int i = Wide::Limbs - 1; i > top; --i)
            if (e.weight.limb[i] != 0)
                top = i;
    if (top < 3)
        return Matcher<4>(vertexCount, edges).run();
    if (top < 5)
        return Matcher<6>(vertexCount, edges).run();
    return Matcher<Wide::Limbs>(vertexCount, edges).run();
}

CardinalityMatching::CardinalityMatching(const std::vector<std::vector<int>>& adjacency)
    : adj_(&adjacency) {
    const int n = int(adj_->size());
    removed_.assign(n, false);
    mate_.assign(n, -1);
    parent_.assign(n, -1);
    base_.assign(n, 0);
    used_.assign(n, false);
    blossom_.assign(n, false);
}

void CardinalityMatching::remove(int v) {
    removed_[v] = true;
    if (mate_[v] >= 0)
        mate_[mate_[v]] = -1;
    mate_[v] = -1;
}

bool CardinalityMatching::perfect() {
    const int n = int(adj_->size());
    // A greedy pass first: most free vertices have a free neighbour.
    for (int v = 0; v < n; ++v) {
        if (removed_[v] || mate_[v] >= 0)
            continue;
        for (int u : (*adj_)[v]) {
            if (!removed_[u] && mate_[u] < 0) {
                mate_[v] = u;
                mate_[u] = v;
                break;
            }
        }
    }
    bool all = true;
    for (int v = 0; v < n; ++v) {
        if (removed_[v] || mate_[v] >= 0)
            continue;
        int w = findPath(v);
        if (w < 0) {
            all = false;
            continue;
        }
        while (w >= 0) {
            const int pw = parent_[w];
            const int next = mate_[pw];
            mate_[w] = pw;
            mate_[pw] = w;
            w = next;
        }
    }
    return all;
}

int CardinalityMatching::lca(int a, int b) {
    std::vector<bool> seen(adj_->size(), false);
    while (true) {
        a = base_[a];
        seen[a] = true;
        if (mate_[a] < 0)
            break;
        a = parent_[mate_[a]];
    }
    while (true) {
        b = base_[b];
        if (seen[b])
            return b;
        b = parent_[mate_[b]];
    }
}

void CardinalityMatching::markPath(int v, int b, int child) {
    while (base_[v] != b) {
        blossom_[base_[v]] = blossom_[base_[mate_[v]]] = true;
        parent_[v] = child;
        child = mate_[v];
        v = parent_[mate_[v]];
    }
}

int CardinalityMatching::findPath(int root) {
    const int n = int(adj_->size());
    std::fill(used_.begin(), used_.end(), false);
    std::fill(parent_.begin(), parent_.end(), -1);
    for (int i = 0; i < n; ++i)
        base_[i] = i;
    used_[root] = true;
    queue_.assign(1, root);
    for (std::size_t head = 0; head < queue_.size(); ++head) {
        const int v = queue_[head];
        for (int to : (*adj_)[v]) {
            if (removed_[to] || base_[v] == base_[to] || mate_[v] == to)
                continue;
            if (to == root || (mate_[to] >= 0 && parent_[mate_[to]] >= 0)) {
                const int cur = lca(v, to);
                std::fill(blossom_.begin(), blossom_.end(), false);
                markPath(v, cur, to);
                markPath(to, cur, v);
                for (int i = 0; i < n; ++i) {
                    if (!removed_[i] && blossom_[base_[i]]) {
                        base_[i] = cur;
                        if (!used_[i]) {
                            used_[i] = true;
                            queue_.push_back(i);
                        }
                    }
                }
            } else if (parent_[to] < 0) {
                parent_[to] = v;
                if (mate_[to] < 0)
                    return to;
                used_[mate_[to]] = true;
                queue_.push_back(mate_[to]);
            }
        }
    }
    return -1;
}

} // namespace ladya::dutch
